#ifndef TRACKER_CONTACTCARD_H
#define TRACKER_CONTACTCARD_H

#include "content/vcardinput.h"

#include <QByteArray>
#include <QtContacts/QContact>

// A stored contact as the one vCard 3.0 of its file. Every detail that
// QtVersit maps both ways survives a round trip; the avatar is kept as the
// URL of its picture, not as the picture itself.
namespace ContactCard {

// Cards beyond this size are neither stored nor read.
using Pavane::VCardInput::MaxSize;

// The card, or an empty array when QtVersit cannot write the contact or the
// card would exceed MaxSize.
QByteArray encode(const QtContacts::QContact& contact);

// The first contact of @p card, without id; false when it holds none. Only
// the first MaxSize bytes count.
bool decode(const QByteArray& card, QtContacts::QContact* contact);

} // namespace ContactCard

#endif

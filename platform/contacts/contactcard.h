// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef TRACKER_CONTACTCARD_H
#define TRACKER_CONTACTCARD_H

#include <QByteArray>
#include <QtContacts/QContact>

// A stored contact as the one vCard 3.0 of its file. Every detail that
// QtVersit maps both ways survives a round trip; the avatar is kept as the
// URL of its picture, not as the picture itself.
namespace ContactCard {

// Cards beyond this size are neither stored nor read: QtVersit takes time
// that grows with the square of a line's length (a second for a line of
// 1 MiB), and a real card, picture included, is far smaller.
constexpr int MaxSize = 1 << 20;
// Nor are cards with more BEGINs than this: QtVersit reads each one as a card
// nested in the one before, on the stack, and some ten thousand overflow it.
constexpr int MaxBegins = 100;

// The card, or an empty array when QtVersit cannot write the contact or the
// card would go beyond MaxSize or MaxBegins.
QByteArray encode(const QtContacts::QContact& contact);

// The first contact of @p card, without id; false when it holds none or
// goes beyond MaxSize or MaxBegins.
bool decode(const QByteArray& card, QtContacts::QContact* contact);

} // namespace ContactCard

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "contactcard.h"

#include <QBuffer>
#include <QSet>
#include <QUrl>
#include <QtContacts/QContactAvatar>
#include <QtVersit/QVersitContactExporter>
#include <QtVersit/QVersitContactImporter>
#include <QtVersit/QVersitReader>
#include <QtVersit/QVersitResourceHandler>
#include <QtVersit/QVersitWriter>

QTCONTACTS_USE_NAMESPACE
QTVERSIT_USE_NAMESPACE

namespace {

// Left to itself, the exporter embeds the picture that an avatar names, and
// the importer drops an embedded picture unless someone saves it to a file:
// every stored avatar would be lost on the way back. Refusing to load the
// picture keeps it out of the card...
class NoEmbeddedPictures : public QVersitResourceHandler
{
public:
    bool loadResource(const QString&, QByteArray*, QString*) override { return false; }
    bool saveResource(const QByteArray&, const QVersitProperty&, QString*) override { return false; }
};

// ...and the avatar goes in as a PHOTO;VALUE=uri instead, which the importer
// reads back into the very same URL. Remote URLs the exporter writes itself.
class AvatarAsUrl : public QVersitContactExporterDetailHandlerV2
{
public:
    void detailProcessed(const QContact&, const QContactDetail& detail, const QVersitDocument&,
                         QSet<int>* processedFields, QList<QVersitProperty>*,
                         QList<QVersitProperty>* toBeAdded) override
    {
        if (detail.type() != QContactAvatar::Type
            || processedFields->contains(QContactAvatar::FieldImageUrl))
            return;
        const QUrl url = detail.value(QContactAvatar::FieldImageUrl).toUrl();
        if (url.isEmpty())
            return;
        QVersitProperty photo;
        photo.setName(QStringLiteral("PHOTO"));
        photo.insertParameter(QStringLiteral("VALUE"), QStringLiteral("uri"));
        photo.setValue(url.toString(QUrl::FullyEncoded));
        toBeAdded->append(photo);
        processedFields->insert(QContactAvatar::FieldImageUrl);
    }

    void contactProcessed(const QContact&, QVersitDocument*) override {}
};

// Whether QtVersit may be given @p card. The BEGINs are counted on the
// letters alone, so that neither a folded line nor UTF-16 read as bytes
// hides one from the count.
bool withinBounds(const QByteArray& card)
{
    if (card.size() > ContactCard::MaxSize)
        return false;
    QByteArray letters;
    letters.reserve(card.size());
    for (const char c : card) {
        if (c != '\0' && c != '\r' && c != '\n' && c != ' ' && c != '\t')
            letters.append(c);
    }
    return letters.toLower().count("begin") <= ContactCard::MaxBegins;
}

} // namespace

namespace ContactCard {

QByteArray encode(const QContact& contact)
{
    NoEmbeddedPictures pictures;
    AvatarAsUrl avatars;
    QVersitContactExporter exporter;
    exporter.setResourceHandler(&pictures);
    exporter.setDetailHandler(&avatars);
    if (!exporter.exportContacts(QList<QContact>() << contact, QVersitDocument::VCard30Type))
        return QByteArray();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVersitWriter writer(&buffer);
    if (!writer.startWriting(exporter.documents()))
        return QByteArray();
    writer.waitForFinished();
    if (writer.error() != QVersitWriter::NoError || !withinBounds(buffer.data()))
        return QByteArray();
    return buffer.data();
}

bool decode(const QByteArray& card, QContact* contact)
{
    // Other processes write cards into the store too.
    if (!withinBounds(card))
        return false;
    QVersitReader reader(card);
    if (!reader.startReading())
        return false;
    reader.waitForFinished();
    QVersitContactImporter importer;
    // A document that fails does not spoil the others: take what comes.
    importer.importDocuments(reader.results());
    const QList<QContact> contacts = importer.contacts();
    if (contacts.isEmpty())
        return false;
    *contact = contacts.first();
    return true;
}

} // namespace ContactCard

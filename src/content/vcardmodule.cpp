// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The vCard module: ContactExporter's work with the contact store and vCards,
// loaded by the library when first asked. It uses nothing of the library:
// the logging category comes with every call.
#include "content/vcardinput.h"
#include "content/vcardmodule_p.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryFile>
#include <QUrl>
#include <QtContacts/QContact>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtVersit/QVersitContactExporter>
#include <QtVersit/QVersitContactImporter>
#include <QtVersit/QVersitReader>
#include <QtVersit/QVersitWriter>

#include <memory>

QTCONTACTS_USE_NAMESPACE
QTVERSIT_USE_NAMESPACE

namespace Pavane {

namespace {

const char TrackerManager[] = "tracker";
const char ContactIriPrefix[] = "contact:";

// Room for a readable name; file systems take 255 bytes, and a name in UTF-8
// takes up to four of them per character.
const int MaxNameInFileName = 64;

// The last name comes from the address book, or from whoever sent the
// contact: in the file name it must not reach another directory ("../x",
// "a/b"), hide the file (".x") or exceed what a file system takes.
QString fileNamePart(const QString& name)
{
    QString part = name;
    for (QChar& c : part) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    int dots = 0;
    while (dots < part.size() && part.at(dots) == QLatin1Char('.'))
        ++dots;
    part.remove(0, dots);
    if (part.size() > MaxNameInFileName) {
        part.truncate(MaxNameInFileName);
        if (part.at(part.size() - 1).isHighSurrogate())
            part.chop(1);
    }
    return part;
}

bool contactFromIri(LogCategory log, const QString& iri, QContact& contact)
{
    const QLatin1String prefix(ContactIriPrefix);
    if (!iri.startsWith(prefix)) {
        qCWarning(log) << "Not a contact IRI: " << iri << ". ";
        return false;
    }
    if (!QContactManager::availableManagers().contains(QLatin1String(TrackerManager))) {
        qCWarning(log) << "Cannot find tracker contact manager. ";
        return false;
    }
    const QMap<QString, QString> noParameters;
    QContactManager manager(QLatin1String(TrackerManager), noParameters);

    bool valid = false;
    const uint localId = iri.midRef(prefix.size()).toUInt(&valid, 10);
    if (!valid) {
        qCWarning(log) << "Contact IRI \"" << iri << "\" not valid.";
        return false;
    }
    contact = manager.contact(QContactId(manager.managerUri(), QByteArray::number(localId)));
    if (contact.isEmpty()) {
        qCWarning(log) << "Cannot fetch contact. ";
        return false;
    }
    return true;
}

QTemporaryFile* createContactCardFile(LogCategory log, const QString& iri)
{
    QContact contact;
    if (!contactFromIri(log, iri, contact))
        return nullptr;

    QVersitContactExporter exporter;
    if (!exporter.exportContacts(QList<QContact>() << contact, QVersitDocument::VCard30Type)) {
        qCWarning(log) << "Versit Exporter was unable to export contact" << iri << ".";
        return nullptr;
    }
    const QList<QVersitDocument> documents = exporter.documents();
    if (documents.isEmpty()) {
        qCWarning(log) << "No versit document to export" << iri << ".";
        return nullptr;
    }

    // A relative template would put the file into whatever directory the
    // host happens to run in. QDir::tempPath() is empty when $TMPDIR names
    // no directory: then there is nowhere to write, rather than the root.
    const QString lastName = contact.detail<QContactName>().lastName();
    const QString directory = QDir::tempPath();
    const QString name = QStringLiteral("%1_XXXXXX.vcf").arg(fileNamePart(lastName));
    const QString fileTemplate = directory.isEmpty() ? name : directory + QLatin1Char('/') + name;
    std::unique_ptr<QTemporaryFile> file(new QTemporaryFile(fileTemplate));
    if (directory.isEmpty() || !file->open()) {
        // The file has no name of its own until it is open: name the template.
        qCWarning(log) << "Could not open contact file" << fileTemplate << ".";
        return nullptr;
    }
    // A card cut short (a full disk) is no card: the file goes with it.
    QVersitWriter writer;
    writer.setDevice(file.get());
    writer.startWriting(documents);
    writer.waitForFinished(-1);
    const bool written = writer.error() == QVersitWriter::NoError && file->flush();
    file->close();
    if (!written || file->error() != QFileDevice::NoError) {
        qCWarning(log) << "Versit Exporter was unable to export contact" << iri << ".";
        return nullptr;
    }
    return file.release();
}

bool resolveContactAvatar(LogCategory log, const QString& iri, QImage& image)
{
    QContact contact;
    if (!contactFromIri(log, iri, contact))
        return false;
    const QUrl url = contact.detail<QContactAvatar>().value(QContactAvatar::FieldImageUrl).toUrl();
    const QString path = url.toLocalFile();
    // Loading from no path at all would only add Qt's own warning.
    if (path.isEmpty())
        image = QImage();
    else
        image.load(path);
    return true;
}

bool resolveContactInfo(LogCategory log, const QFileInfo& file, QString& firstName,
                        QString& lastName)
{
    QFile content(file.absoluteFilePath());
    if (!content.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(log, "NfcFileSendDialog: Unable to open file for reading");
        return false;
    }
    QVersitReader reader(VCardInput::bounded(content.read(VCardInput::MaxSize)));
    content.close();
    if (!reader.startReading()) {
        qCWarning(log, "Unable to start reading vcard");
        return false;
    }
    reader.waitForFinished(-1);

    QVersitContactImporter importer;
    if (!importer.importDocuments(reader.results())) {
        qCWarning(log, "Unable to import vcards to contacts");
        return false;
    }
    const QList<QContact> contacts = importer.contacts();
    if (contacts.isEmpty()) {
        qCWarning(log, "QVersitContactImporter imported no contacts");
        return false;
    }
    const QContactName name = contacts.first().detail<QContactName>();
    firstName = name.firstName();
    lastName = name.lastName();
    return !firstName.isEmpty() || !lastName.isEmpty();
}

const VCardModule Module = {VCardModuleVersion,    sizeof(VCardModule),  contactFromIri,
                            createContactCardFile, resolveContactAvatar, resolveContactInfo};

} // namespace

} // namespace Pavane

extern "C" Q_DECL_EXPORT const Pavane::VCardModule* pavanedlg_vcard_module()
{
    return &Pavane::Module;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/contactexporter.h>

#include "content/vcardinput.h"
#include "logging/pavanelogging_p.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryFile>
#include <QTextStream>
#include <QUrl>
#include <QtContacts/QContact>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtVersit/QVersitContactExporter>
#include <QtVersit/QVersitContactImporter>
#include <QtVersit/QVersitReader>
#include <QtVersit/QVersitWriter>

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

QTCONTACTS_USE_NAMESPACE
QTVERSIT_USE_NAMESPACE

namespace Pavane {

namespace {

const char TrackerManager[] = "tracker";

// A vCard says so on its first line, right at the start; a line that goes
// on (a file without newline, a pipe that never ends) is not read further.
const int MaxFirstLine = 4096;

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

} // namespace

const QString ContactExporter::ContactIriPrefix = QStringLiteral("contact:");

bool ContactExporter::contactFromIri(const QString& iri, QContact& contact)
{
    if (!iri.startsWith(ContactIriPrefix)) {
        qCWarning(lcContent) << "Not a contact IRI: " << iri << ". ";
        return false;
    }
    if (!QContactManager::availableManagers().contains(QLatin1String(TrackerManager))) {
        qCWarning(lcContent) << "Cannot find tracker contact manager. ";
        return false;
    }
    const QMap<QString, QString> noParameters;
    QContactManager manager(QLatin1String(TrackerManager), noParameters);

    bool valid = false;
    const uint localId = iri.midRef(ContactIriPrefix.size()).toUInt(&valid, 10);
    if (!valid) {
        qCWarning(lcContent) << "Contact IRI \"" << iri << "\" not valid.";
        return false;
    }
    contact = manager.contact(QContactId(manager.managerUri(), QByteArray::number(localId)));
    if (contact.isEmpty()) {
        qCWarning(lcContent) << "Cannot fetch contact. ";
        return false;
    }
    return true;
}

QTemporaryFile* ContactExporter::createContactCardFile(const QString& iri)
{
    QContact contact;
    if (!contactFromIri(iri, contact))
        return nullptr;

    QVersitContactExporter exporter;
    if (!exporter.exportContacts(QList<QContact>() << contact, QVersitDocument::VCard30Type)) {
        qCWarning(lcContent) << "Versit Exporter was unable to export contact" << iri << ".";
        return nullptr;
    }
    const QList<QVersitDocument> documents = exporter.documents();
    if (documents.isEmpty()) {
        qCWarning(lcContent) << "No versit document to export" << iri << ".";
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
        qCWarning(lcContent) << "Could not open contact file" << fileTemplate << ".";
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
        qCWarning(lcContent) << "Versit Exporter was unable to export contact" << iri << ".";
        return nullptr;
    }
    return file.release();
}

bool ContactExporter::resolveContactAvatar(const QString& iri, QImage& image)
{
    QContact contact;
    if (!contactFromIri(iri, contact))
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

bool ContactExporter::isContactType(const QFileInfo& file)
{
    const QString suffix = file.completeSuffix();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard"))
        return true;
    if (!suffix.isEmpty())
        return false;

    // Straight from a descriptor that never blocks: QFile would wait for the
    // whole amount asked for, where a pipe gives what it has, and opening a
    // pipe without writer (or a device) would wait for good. What is not
    // there at once is not read.
    const int fd = ::open(QFile::encodeName(file.absoluteFilePath()).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcContent, "NfcFileSendDialog: Unable to open file for reading");
        return false;
    }
    char head[MaxFirstLine];
    int size = 0;
    while (size < MaxFirstLine && !std::memchr(head, '\n', size_t(size))) {
        const ssize_t got = ::read(fd, head + size, size_t(MaxFirstLine - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += int(got);
    }
    ::close(fd);
    QTextStream stream(QByteArray::fromRawData(head, size));
    return stream.readLine().contains(QLatin1String("BEGIN:VCARD"));
}

bool ContactExporter::resolveContactInfo(const QFileInfo& file, QString& firstName, QString& lastName)
{
    QFile content(file.absoluteFilePath());
    if (!content.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcContent, "NfcFileSendDialog: Unable to open file for reading");
        return false;
    }
    QVersitReader reader(VCardInput::bounded(content.read(VCardInput::MaxSize)));
    content.close();
    if (!reader.startReading()) {
        qCWarning(lcContent, "Unable to start reading vcard");
        return false;
    }
    reader.waitForFinished(-1);

    QVersitContactImporter importer;
    if (!importer.importDocuments(reader.results())) {
        qCWarning(lcContent, "Unable to import vcards to contacts");
        return false;
    }
    const QList<QContact> contacts = importer.contacts();
    if (contacts.isEmpty()) {
        qCWarning(lcContent, "QVersitContactImporter imported no contacts");
        return false;
    }
    const QContactName name = contacts.first().detail<QContactName>();
    firstName = name.firstName();
    lastName = name.lastName();
    return !firstName.isEmpty() || !lastName.isEmpty();
}

} // namespace Pavane

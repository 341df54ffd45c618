// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// What a dialog that sends a contact asks: the contact as a vCard file, and
// what a receiver makes of that file. The address book is the one of the
// QtContacts backend "tracker". Usage: content [contact:ID] (default contact:1).
#include <Pavane/ContactExporter>
#include <Pavane/MimeTypeResolver>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <memory>

using Pavane::ContactExporter;
using Pavane::MimeTypeResolver;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // "contact:" and the local id that QContactManager("tracker") gives.
    const QString iri = args.value(1, ContactExporter::ContactIriPrefix + QLatin1Char('1'));

    // A temporary file, removed with the object.
    const std::unique_ptr<QTemporaryFile> card(ContactExporter::createContactCardFile(iri));
    if (!card) {
        std::fprintf(stderr, "content: no contact %s\n", qPrintable(iri));
        return 1;
    }
    const QFileInfo file(card->fileName());

    // The receiving side: is it a vCard, and of whom?
    QString firstName;
    QString lastName;
    if (!ContactExporter::isContactType(file) || !ContactExporter::resolveContactInfo(file, firstName, lastName))
        return 1;
    std::printf("%s: a vCard of %s %s\n", qPrintable(file.fileName()), qPrintable(firstName),
                qPrintable(lastName));

    // By the file's name alone, from shared-mime-info's glob list.
    const QString type = MimeTypeResolver::mimeTypeForFilePath(file.filePath());
    std::printf("type %s, icon %s\n", qPrintable(type),
                qPrintable(MimeTypeResolver::iconForFileAndMimeType(file.filePath(), type)));
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_VCARDMODULE_P_H
#define PAVANE_VCARDMODULE_P_H

#include <QLoggingCategory>
#include <QtContacts/qcontactsglobal.h>

class QFileInfo;
class QImage;
class QString;
class QTemporaryFile;

QT_BEGIN_NAMESPACE_CONTACTS
class QContact;
QT_END_NAMESPACE_CONTACTS

// What ContactExporter hands to the vCard module: the work that needs
// QtContacts and QtVersit, whose libraries (bound at once when loaded) would
// otherwise be loaded by every host at its start, also by those that never
// send a contact. The library loads the module on the first call that needs
// it, from the folder "pavanedlg" beside its own file.
namespace Pavane {

// Raised whenever a function's meaning or arguments change; a table may
// only grow at its end without a new version.
constexpr quint32 VCardModuleVersion = 1;

// The library's category for the module's warnings (as lcContent).
using LogCategory = const QLoggingCategory& (*)();

// Each function is ContactExporter's of the same name, with its warnings
// written in the category @p log.
struct VCardModule
{
    quint32 version; // VCardModuleVersion
    quint32 size; // sizeof (VCardModule) as the module was built
    bool (*contactFromIri)(LogCategory log, const QString& iri, QtContacts::QContact& contact);
    QTemporaryFile* (*createContactCardFile)(LogCategory log, const QString& iri);
    bool (*resolveContactAvatar)(LogCategory log, const QString& iri, QImage& image);
    bool (*resolveContactInfo)(LogCategory log, const QFileInfo& file, QString& firstName,
                               QString& lastName);
};

// The module's only exported symbol.
#define PAVANE_VCARD_MODULE_ENTRY "pavanedlg_vcard_module"
using VCardModuleEntry = const VCardModule* (*)();

} // namespace Pavane

#endif

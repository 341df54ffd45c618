#ifndef PAVANE_CONTACTEXPORTER_H
#define PAVANE_CONTACTEXPORTER_H

#include <Pavane/pavanedlg_export.h>

#include <QString>
#include <QtContacts/qcontactsglobal.h>

class QFileInfo;
class QImage;
class QTemporaryFile;

QT_BEGIN_NAMESPACE_CONTACTS
class QContact;
QT_END_NAMESPACE_CONTACTS

namespace Pavane {

/**
 * Contacts of the address book as vCard files, for the dialogs that send and
 * receive them.
 *
 * A contact is named by its IRI: ContactIriPrefix followed by its local id
 * in the contact store, in decimal ("contact:42"). The store is reached
 * through the QtContacts backend "tracker". Failures are reported by a
 * warning and a false or null result. Every function blocks while the store
 * answers and vCards are read or written; call them from the thread that
 * uses the results (in a dialog, the GUI thread).
 */
class PAVANEDLG_EXPORT ContactExporter
{
public:
    ContactExporter() = delete;

    /** "contact:", case-sensitive. */
    static const QString ContactIriPrefix;

    /** Fetches the contact that @p iri names into @p contact. */
    static bool contactFromIri(const QString& iri, QtContacts::QContact& contact);

    /**
     * Writes the contact that @p iri names as a vCard 3.0 into a new file in
     * the system's temporary directory, named after the contact's last name,
     * and returns that file closed; a null pointer on failure. The caller
     * owns it: the file is removed when the object is destroyed.
     */
    static QTemporaryFile* createContactCardFile(const QString& iri);

    /**
     * Loads the contact's avatar into @p image. True whenever the contact
     * exists; @p image is null when it has no avatar or the picture cannot be
     * read.
     */
    static bool resolveContactAvatar(const QString& iri, QImage& image);

    /**
     * Whether @p file is a vCard: by its complete suffix "vcf" or "vcard"
     * alone, and, when it has no suffix at all, by "BEGIN:VCARD" on its
     * first line. Only the first 4 KiB are read, and only what is there at
     * once: a pipe or device is never waited for.
     */
    static bool isContactType(const QFileInfo& file);

    /**
     * Gives the first and last name of the first contact in the vCard file
     * @p file; true when at least one of them is not empty. Only the first
     * MiB is read, and only the first hundred cards, nested or not.
     */
    static bool resolveContactInfo(const QFileInfo& file, QString& firstName, QString& lastName);
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
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
 * in the contact store, in decimal ("contact:42"; "contact:0042" names the
 * same one). The store is reached through the QtContacts backend "tracker";
 * without that backend every function given an IRI fails. Failures are
 * reported by a warning and a false or null result, never more. Every
 * function blocks while the store answers and vCards are read or written;
 * call them from the thread that uses the results (in a dialog, the GUI
 * thread). There are no instances.
 *
 * @code
 * std::unique_ptr<QTemporaryFile> card(Pavane::ContactExporter::createContactCardFile(iri));
 * if (card)
 *     send(card->fileName());
 * @endcode
 */
class PAVANEDLG_EXPORT ContactExporter
{
public:
    /** No instances: every function is static. */
    ContactExporter() = delete;

    /** The text every contact IRI starts with, "contact:" (case-sensitive). */
    static const QString ContactIriPrefix;

    /**
     * Fetches the contact that @p iri names into @p contact.
     *
     * @return true on success; false, with a warning, when @p iri lacks the
     * prefix, its id is no decimal number of 32 bits, the "tracker" backend
     * is missing, or no contact has that id (in that last case @p contact is
     * left empty).
     */
    static bool contactFromIri(const QString& iri, QtContacts::QContact& contact);

    /**
     * Writes the contact that @p iri names as a vCard 3.0 into a new file in
     * the system's temporary directory and returns that file, closed.
     *
     * The file's name is the contact's last name (with "/", "\" and control
     * characters made "_", leading dots dropped, at most 64 characters),
     * "_", six random characters and ".vcf". The caller owns the returned
     * object: the file is removed when it is destroyed.
     *
     * @return the file; a null pointer, with a warning, when the contact
     * cannot be fetched or exported, the temporary directory is unusable, or
     * the card cannot be written whole (a full disk leaves no file behind).
     */
    static QTemporaryFile* createContactCardFile(const QString& iri);

    /**
     * Loads the avatar of the contact that @p iri names into @p image.
     *
     * @return true whenever the contact could be fetched; @p image is then a
     * null image when the contact has no avatar or its picture cannot be
     * read. False, with a warning, as for contactFromIri().
     */
    static bool resolveContactAvatar(const QString& iri, QImage& image);

    /**
     * Whether @p file is a vCard.
     *
     * A complete suffix (all after the first "." of the name) of exactly
     * "vcf" or "vcard" says yes without opening the file; any other suffix
     * says no, so "my.card.vcf" is no vCard. A name without "." is a vCard
     * when "BEGIN:VCARD" stands on the file's first line. Only the first
     * 4 KiB are read, and only what is there at once: a pipe or device is
     * never waited for. A file that cannot be opened is no vCard (with a
     * warning).
     */
    static bool isContactType(const QFileInfo& file);

    /**
     * Gives the first and last name of the first contact in the vCard file
     * @p file as @p firstName and @p lastName.
     *
     * Only the first MiB of the file is read, and only the first hundred
     * cards, nested or not.
     *
     * @return true when at least one of the names is not empty; false, with
     * a warning and the names untouched, when the file cannot be read or
     * holds no contact.
     */
    static bool resolveContactInfo(const QFileInfo& file, QString& firstName, QString& lastName);
};

} // namespace Pavane

#endif

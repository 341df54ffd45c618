// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef TRACKER_CONTACTSTORE_H
#define TRACKER_CONTACTSTORE_H

#include <QByteArray>
#include <QList>
#include <QString>

// The contact store on disk: a directory of vCard files, one contact each,
// named by the contact's local id in decimal ("42.vcf"). Ids are unsigned
// 32-bit numbers; a new contact gets the highest id in use plus one, so ids
// of removed contacts come back only when they were the highest.
//
// Several managers, also in other processes, may share the directory: a new
// id is claimed by creating its file exclusively, and every card is written
// through QSaveFile, so that a reader sees either the old card or the new one.
// A claimed file stays empty until its card is written; readers skip it.
class ContactStore
{
public:
    enum Result { Done, Missing, Full, Failed };

    explicit ContactStore(const QString& directory);

    QString directory() const { return dir; }

    // Ids with a card, ascending.
    QList<quint32> ids() const;
    // The card of @p id; empty when there is none or it is too large.
    QByteArray read(quint32 id) const;
    // Stores @p card under a new id, which it gives in @p id.
    Result add(const QByteArray& card, quint32* id);
    // Replaces the card of an existing contact.
    Result replace(quint32 id, const QByteArray& card);
    Result remove(quint32 id);

    // $XDG_DATA_HOME/tracker-contacts, or ~/.local/share/tracker-contacts.
    static QString defaultDirectory();
    // Accepts only the canonical decimal form ("42", not "042" or "+42"), so
    // that one contact has one id.
    static bool parseId(const QString& text, quint32* id);

private:
    QString pathOf(quint32 id) const;
    QList<quint32> idsInUse(bool withClaimed) const;
    bool write(const QString& path, const QByteArray& card);

    QString dir;
};

#endif

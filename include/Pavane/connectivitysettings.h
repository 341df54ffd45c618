// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_CONNECTIVITYSETTINGS_H
#define PAVANE_CONNECTIVITYSETTINGS_H

#include <Pavane/pavanedlg_export.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace Pavane {

class ConnectivitySettingsPrivate;

/**
 * Typed access to one record of the connection-settings store: an access
 * point (IAP) or another kind of connectivity record, named by its type and
 * id.
 *
 * Values are read and written as variants: strings, ints, doubles, bools,
 * byte arrays, string lists and lists of ints. A stored list of ints that all
 * lie in 0..255 reads back as a QByteArray, a list of strings as a
 * QStringList. valueChanged() reports every change of the record, made by
 * this process or another one, from the event loop.
 *
 * When the store cannot be opened (its database missing its folder,
 * damaged, or unreadable), the object stays usable: reads find nothing and
 * writes return an error code, and the failure is logged in the category
 * @c pavane.settings.
 *
 * GUI thread only: the store delivers its change callbacks through the
 * thread's GLib main context, so the Qt event loop must run on GLib.
 */
class PAVANEDLG_EXPORT ConnectivitySettings : public QObject
{
    Q_OBJECT

public:
    /** Record types: the store's own codes. */
    enum Type {
        IAP = 1,     ///< connection access points
        Bearer = 2,  ///< settings of one bearer kind, for instance id "WLAN_INFRA"
        General = 3  ///< connectivity-wide settings
    };
    Q_ENUM(Type)

    /** Opens the default record of @p type, which holds the type-wide settings. */
    explicit ConnectivitySettings(Type type);
    /** Opens record @p id of @p type; an empty id opens the default record. */
    ConnectivitySettings(Type type, const QString& id);
    /** Closes the record; no valueChanged() arrives after it. */
    ~ConnectivitySettings() override;

    /** The value under @p key; an invalid variant when there is none. */
    QVariant get(const QString& key) const;
    /**
     * Stores @p value under @p key (an invalid variant removes it), durably,
     * before it returns. Returns the store's result: 0 on success, -1 for a
     * store that could not be opened, -2 when the database could not be
     * written; or -20 for a value that cannot be stored: types other than
     * those above, and lists other than non-empty ones of ints.
     */
    int set(const QString& key, QVariant value);
    /**
     * With an id of its own: whether this record holds a value under @p id.
     * Without: whether a record of this type with id @p id exists.
     */
    bool idExists(const QString& id);
    /** The ids of all records of this type. */
    QStringList getAllIds() const;
    /** The keys that hold values in this record. */
    QStringList getAllKeys() const;

public Q_SLOTS:
    /**
     * Deletes every value of the record from the store, so the record; this
     * object stays usable and may write it afresh. valueChanged() follows
     * for each key that had a value. A failure is logged.
     */
    void remove();

Q_SIGNALS:
    /**
     * The value under @p key of this record changed (or was removed), by a
     * write of any object or process; read the new value with get(). Emitted
     * from the event loop, once per changed key.
     */
    void valueChanged(const QString& key);

private:
    std::unique_ptr<ConnectivitySettingsPrivate> const d;
};

} // namespace Pavane

#endif

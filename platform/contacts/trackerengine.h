// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef TRACKER_TRACKERENGINE_H
#define TRACKER_TRACKERENGINE_H

#include "contactstore.h"

#include <QtContacts/QContactManagerEngine>

// The contacts engine behind QContactManager("tracker"): every operation
// works directly on the files of a ContactStore, so managers on the same
// directory see each other's changes at once. Requests are answered
// synchronously; the asynchronous request API is not offered.
class TrackerEngine : public QtContacts::QContactManagerEngine
{
    Q_OBJECT

public:
    explicit TrackerEngine(const QString& directory);

    QString managerName() const override;
    QMap<QString, QString> managerParameters() const override;
    QMap<QString, QString> idInterpretationParameters() const override;
    int managerVersion() const override;

    QList<QtContacts::QContactId> contactIds(const QtContacts::QContactFilter& filter,
                                             const QList<QtContacts::QContactSortOrder>& sortOrders,
                                             QtContacts::QContactManager::Error* error) const override;
    QList<QtContacts::QContact> contacts(const QtContacts::QContactFilter& filter,
                                         const QList<QtContacts::QContactSortOrder>& sortOrders,
                                         const QtContacts::QContactFetchHint& fetchHint,
                                         QtContacts::QContactManager::Error* error) const override;
    QList<QtContacts::QContact> contacts(const QList<QtContacts::QContactId>& contactIds,
                                         const QtContacts::QContactFetchHint& fetchHint,
                                         QMap<int, QtContacts::QContactManager::Error>* errorMap,
                                         QtContacts::QContactManager::Error* error) const override;
    QtContacts::QContact contact(const QtContacts::QContactId& contactId,
                                 const QtContacts::QContactFetchHint& fetchHint,
                                 QtContacts::QContactManager::Error* error) const override;

    bool saveContact(QtContacts::QContact* contact, QtContacts::QContactManager::Error* error) override;
    bool removeContact(const QtContacts::QContactId& contactId,
                       QtContacts::QContactManager::Error* error) override;
    bool saveContacts(QList<QtContacts::QContact>* contacts,
                      QMap<int, QtContacts::QContactManager::Error>* errorMap,
                      QtContacts::QContactManager::Error* error) override;
    bool saveContacts(QList<QtContacts::QContact>* contacts,
                      const QList<QtContacts::QContactDetail::DetailType>& typeMask,
                      QMap<int, QtContacts::QContactManager::Error>* errorMap,
                      QtContacts::QContactManager::Error* error) override;
    bool removeContacts(const QList<QtContacts::QContactId>& contactIds,
                        QMap<int, QtContacts::QContactManager::Error>* errorMap,
                        QtContacts::QContactManager::Error* error) override;

private:
    // The local id of one of our own contacts; false for a null id, another
    // manager's id or a malformed one.
    bool ownLocalId(const QtContacts::QContactId& contactId, quint32* id) const;
    bool load(quint32 id, QtContacts::QContact* contact) const;
    QtContacts::QContactManager::Error save(QtContacts::QContact* contact,
                                            const QList<QtContacts::QContactDetail::DetailType>& typeMask,
                                            bool* added);

    ContactStore store;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "trackerengine.h"

#include "contactcard.h"

#include <algorithm>

QTCONTACTS_USE_NAMESPACE

namespace {

const char ManagerName[] = "tracker";
const char DirectoryParameter[] = "directory";

// @p contact reduced to the details of the types in @p typeMask, laid over
// @p base: what a partial save stores.
QContact masked(const QContact& base, const QContact& contact,
                const QList<QContactDetail::DetailType>& typeMask)
{
    QContact result = base;
    for (QContactDetail::DetailType type : typeMask) {
        for (QContactDetail detail : result.details(type))
            result.removeDetail(&detail);
        for (QContactDetail detail : contact.details(type))
            result.saveDetail(&detail);
    }
    return result;
}

QList<QContactDetail::DetailType> detailTypes(const QContact& contact)
{
    QList<QContactDetail::DetailType> types;
    for (const QContactDetail& detail : contact.details()) {
        if (!types.contains(detail.type()))
            types.append(detail.type());
    }
    return types;
}

void setError(QMap<int, QContactManager::Error>* errorMap, int index, QContactManager::Error error,
              QContactManager::Error* overall)
{
    if (error == QContactManager::NoError)
        return;
    if (errorMap)
        errorMap->insert(index, error);
    *overall = error;
}

} // namespace

TrackerEngine::TrackerEngine(const QString& directory)
    : store(directory)
{
}

QString TrackerEngine::managerName() const
{
    return QLatin1String(ManagerName);
}

QMap<QString, QString> TrackerEngine::managerParameters() const
{
    return idInterpretationParameters();
}

// The directory is part of every id: the same number names different
// contacts in different stores.
QMap<QString, QString> TrackerEngine::idInterpretationParameters() const
{
    QMap<QString, QString> parameters;
    parameters.insert(QLatin1String(DirectoryParameter), store.directory());
    return parameters;
}

int TrackerEngine::managerVersion() const
{
    return 1;
}

bool TrackerEngine::ownLocalId(const QContactId& contactId, quint32* id) const
{
    return !contactId.isNull() && contactId.managerUri() == managerUri()
        && ContactStore::parseId(QString::fromLatin1(contactId.localId()), id);
}

bool TrackerEngine::load(quint32 id, QContact* contact) const
{
    const QByteArray card = store.read(id);
    if (card.isEmpty() || !ContactCard::decode(card, contact))
        return false;
    contact->setId(contactId(QByteArray::number(id)));
    return true;
}

QList<QContactId> TrackerEngine::contactIds(const QContactFilter& filter,
                                            const QList<QContactSortOrder>& sortOrders,
                                            QContactManager::Error* error) const
{
    QList<QContactId> ids;
    for (const QContact& contact : contacts(filter, sortOrders, QContactFetchHint(), error))
        ids.append(contact.id());
    return ids;
}

QList<QContact> TrackerEngine::contacts(const QContactFilter& filter,
                                        const QList<QContactSortOrder>& sortOrders,
                                        const QContactFetchHint&, QContactManager::Error* error) const
{
    QList<QContact> result;
    for (quint32 id : store.ids()) {
        // A card that cannot be read, or that another manager has just
        // removed, is no contact.
        QContact contact;
        if (load(id, &contact) && testFilter(filter, contact))
            result.append(contact);
    }
    if (!sortOrders.isEmpty()) {
        std::stable_sort(result.begin(), result.end(), [&](const QContact& a, const QContact& b) {
            return compareContact(a, b, sortOrders) < 0;
        });
    }
    *error = QContactManager::NoError;
    return result;
}

QList<QContact> TrackerEngine::contacts(const QList<QContactId>& contactIds,
                                        const QContactFetchHint& fetchHint,
                                        QMap<int, QContactManager::Error>* errorMap,
                                        QContactManager::Error* error) const
{
    QList<QContact> result;
    *error = QContactManager::NoError;
    for (int i = 0; i < contactIds.size(); ++i) {
        QContactManager::Error one = QContactManager::NoError;
        result.append(contact(contactIds.at(i), fetchHint, &one));
        setError(errorMap, i, one, error);
    }
    return result;
}

QContact TrackerEngine::contact(const QContactId& contactId, const QContactFetchHint&,
                                QContactManager::Error* error) const
{
    quint32 id = 0;
    QContact result;
    if (!ownLocalId(contactId, &id) || !load(id, &result)) {
        *error = QContactManager::DoesNotExistError;
        return QContact();
    }
    *error = QContactManager::NoError;
    return result;
}

bool TrackerEngine::saveContact(QContact* contact, QContactManager::Error* error)
{
    QList<QContact> list{*contact};
    const bool saved = saveContacts(&list, nullptr, error);
    *contact = list.first();
    return saved;
}

bool TrackerEngine::removeContact(const QContactId& contactId, QContactManager::Error* error)
{
    return removeContacts(QList<QContactId>{contactId}, nullptr, error);
}

bool TrackerEngine::saveContacts(QList<QContact>* contacts, QMap<int, QContactManager::Error>* errorMap,
                                 QContactManager::Error* error)
{
    return saveContacts(contacts, QList<QContactDetail::DetailType>(), errorMap, error);
}

QContactManager::Error TrackerEngine::save(QContact* contact,
                                           const QList<QContactDetail::DetailType>& typeMask,
                                           bool* added)
{
    quint32 id = 0;
    *added = !ownLocalId(contact->id(), &id);
    QContact stored;
    if (*added) {
        stored = typeMask.isEmpty() ? *contact : masked(QContact(), *contact, typeMask);
    } else if (typeMask.isEmpty()) {
        stored = *contact;
    } else {
        // A partial save changes only the masked details of what is stored.
        if (!load(id, &stored))
            return QContactManager::DoesNotExistError;
        stored = masked(stored, *contact, typeMask);
    }

    const QByteArray card = ContactCard::encode(stored);
    if (card.isEmpty())
        return QContactManager::InvalidDetailError;
    const ContactStore::Result result = *added ? store.add(card, &id) : store.replace(id, card);
    switch (result) {
    case ContactStore::Done:
        break;
    case ContactStore::Missing:
        return QContactManager::DoesNotExistError;
    case ContactStore::Full:
        return QContactManager::LimitReachedError;
    case ContactStore::Failed:
        return QContactManager::UnspecifiedError;
    }
    contact->setId(contactId(QByteArray::number(id)));
    return QContactManager::NoError;
}

bool TrackerEngine::saveContacts(QList<QContact>* contacts,
                                 const QList<QContactDetail::DetailType>& typeMask,
                                 QMap<int, QContactManager::Error>* errorMap,
                                 QContactManager::Error* error)
{
    *error = QContactManager::NoError;
    if (!contacts) {
        *error = QContactManager::BadArgumentError;
        return false;
    }
    QList<QContactId> added;
    QList<QContactId> changed;
    QList<QContactDetail::DetailType> changedTypes = typeMask;
    for (int i = 0; i < contacts->size(); ++i) {
        QContact& contact = (*contacts)[i];
        bool isNew = false;
        const QContactManager::Error one = save(&contact, typeMask, &isNew);
        setError(errorMap, i, one, error);
        if (one != QContactManager::NoError)
            continue;
        if (isNew) {
            added.append(contact.id());
        } else {
            changed.append(contact.id());
            if (typeMask.isEmpty()) {
                for (QContactDetail::DetailType type : detailTypes(contact)) {
                    if (!changedTypes.contains(type))
                        changedTypes.append(type);
                }
            }
        }
    }
    if (!added.isEmpty())
        Q_EMIT contactsAdded(added);
    if (!changed.isEmpty())
        Q_EMIT contactsChanged(changed, changedTypes);
    return *error == QContactManager::NoError;
}

bool TrackerEngine::removeContacts(const QList<QContactId>& contactIds,
                                   QMap<int, QContactManager::Error>* errorMap,
                                   QContactManager::Error* error)
{
    *error = QContactManager::NoError;
    QList<QContactId> removed;
    for (int i = 0; i < contactIds.size(); ++i) {
        quint32 id = 0;
        QContactManager::Error one = QContactManager::DoesNotExistError;
        if (ownLocalId(contactIds.at(i), &id)) {
            switch (store.remove(id)) {
            case ContactStore::Done:
                one = QContactManager::NoError;
                removed.append(contactIds.at(i));
                break;
            case ContactStore::Failed:
                one = QContactManager::UnspecifiedError;
                break;
            default:
                break;
            }
        }
        setError(errorMap, i, one, error);
    }
    if (!removed.isEmpty())
        Q_EMIT contactsRemoved(removed);
    return *error == QContactManager::NoError;
}

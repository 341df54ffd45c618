#ifndef PAVANE_TESTS_CONTACTSTORE_H
#define PAVANE_TESTS_CONTACTSTORE_H

// A store of the "tracker" contacts backend of the test's own, in a
// temporary directory, and contacts saved into it as the address book would.

#include <QTemporaryDir>
#include <QUrl>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>

#include <memory>

namespace TestSupport {

class ContactStore
{
public:
    // The backend reads its directory when a manager is made: the first
    // add() makes it, so that a suite may look for the backend before.
    ContactStore() { qputenv("TRACKER_CONTACTS_DIR", dir.filePath(QStringLiteral("store")).toUtf8()); }

    // Saves a contact, with the picture at @p picture if any; its IRI, or
    // nothing when the store refused it.
    QString add(const QString& first, const QString& last, const QString& picture = QString())
    {
        QTCONTACTS_USE_NAMESPACE
        QContact contact;
        QContactName name;
        name.setFirstName(first);
        name.setLastName(last);
        contact.saveDetail(&name);
        if (!picture.isEmpty()) {
            QContactAvatar avatar;
            avatar.setImageUrl(QUrl::fromLocalFile(picture));
            contact.saveDetail(&avatar);
        }
        if (!manager)
            manager.reset(new QContactManager(QStringLiteral("tracker")));
        if (!manager->saveContact(&contact))
            return QString();
        return QStringLiteral("contact:") + QString::fromLatin1(contact.id().localId());
    }

    bool remove(const QStringList& iris)
    {
        QList<QTCONTACTS_PREPEND_NAMESPACE(QContactId)> ids;
        for (const auto& id : manager->contactIds()) {
            if (iris.contains(QStringLiteral("contact:") + QString::fromLatin1(id.localId())))
                ids.append(id);
        }
        return ids.size() == iris.size() && manager->removeContacts(ids);
    }

private:
    QTemporaryDir dir;
    std::unique_ptr<QTCONTACTS_PREPEND_NAMESPACE(QContactManager)> manager;
};

} // namespace TestSupport

#endif

// The contacts backend "tracker", loaded as a plugin through QtContacts, on
// directories of its own.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactDetailFilter>
#include <QtContacts/QContactEmailAddress>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtContacts/QContactOrganization>
#include <QtContacts/QContactPhoneNumber>
#include <QtTest>

QTCONTACTS_USE_NAMESPACE

Q_DECLARE_METATYPE(QList<QContactId>)
Q_DECLARE_METATYPE(QList<QContactDetail::DetailType>)

namespace {

QContact person(const QString& first, const QString& last)
{
    QContact contact;
    QContactName name;
    name.setFirstName(first);
    name.setLastName(last);
    contact.saveDetail(&name);
    return contact;
}

QMap<QString, QString> inDirectory(const QString& path)
{
    QMap<QString, QString> parameters;
    parameters.insert(QStringLiteral("directory"), path);
    return parameters;
}

QStringList localIds(const QList<QContactId>& ids)
{
    QStringList result;
    for (const QContactId& id : ids)
        result.append(QString::fromLatin1(id.localId()));
    return result;
}

QStringList lastNames(const QList<QContact>& contacts)
{
    QStringList result;
    for (const QContact& contact : contacts)
        result.append(contact.detail<QContactName>().lastName());
    return result;
}

} // namespace

class TestTrackerContacts : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> dir;
    QScopedPointer<QContactManager> manager;

    QString cardPath(const QString& localId) const
    {
        return dir->filePath(localId + QStringLiteral(".vcf"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QList<QContactId>>();
        qRegisterMetaType<QList<QContactDetail::DetailType>>();
        QVERIFY(QContactManager::availableManagers().contains(QStringLiteral("tracker")));
    }

    void init()
    {
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        manager.reset(new QContactManager(QStringLiteral("tracker"), inDirectory(dir->path())));
        QCOMPARE(manager->managerName(), QStringLiteral("tracker"));
    }

    void cleanup()
    {
        manager.reset();
        dir.reset();
    }

    void savesNumberedCards()
    {
        QSignalSpy added(manager.data(), &QContactManager::contactsAdded);
        QList<QContact> contacts{person(QStringLiteral("Ann"), QStringLiteral("Lee")),
                                 person(QStringLiteral("Bo"), QStringLiteral("Berg"))};
        QVERIFY(manager->saveContacts(&contacts));
        QContact third = person(QStringLiteral("Cy"), QStringLiteral("Cole"));
        QVERIFY(manager->saveContact(&third));

        QCOMPARE(localIds({contacts.at(0).id(), contacts.at(1).id(), third.id()}),
                 QStringList({"1", "2", "3"}));
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "2", "3"}));
        QCOMPARE(added.count(), 2);
        QCOMPARE(localIds(added.at(0).at(0).value<QList<QContactId>>()), QStringList({"1", "2"}));

        QFile card(cardPath(QStringLiteral("2")));
        QVERIFY(card.open(QIODevice::ReadOnly));
        const QByteArray text = card.readAll();
        QVERIFY(text.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
        QVERIFY(text.contains("N:Berg;Bo;;;\r\n"));
        QVERIFY(text.trimmed().endsWith("END:VCARD"));
    }

    void detailsSurvive()
    {
        const QString picture = dir->filePath(QStringLiteral("faces/a b,c;d%e#.png"));
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QContactAvatar avatar;
        avatar.setImageUrl(QUrl::fromLocalFile(picture));
        contact.saveDetail(&avatar);
        QContactPhoneNumber phone;
        phone.setNumber(QStringLiteral("+358 40 123"));
        phone.setSubTypes({QContactPhoneNumber::SubTypeMobile});
        contact.saveDetail(&phone);
        QContactEmailAddress email;
        email.setEmailAddress(QStringLiteral("ann@example.org"));
        contact.saveDetail(&email);
        QContactOrganization organization;
        organization.setName(QStringLiteral("Zelkor"));
        organization.setTitle(QStringLiteral("Engineer"));
        contact.saveDetail(&organization);
        QVERIFY(manager->saveContact(&contact));

        // Read by a manager of its own, so nothing comes from memory.
        QContactManager reader(QStringLiteral("tracker"), inDirectory(dir->path()));
        const QContact loaded = reader.contact(contact.id());
        QCOMPARE(reader.error(), QContactManager::NoError);
        QCOMPARE(loaded.id(), contact.id());
        QCOMPARE(loaded.detail<QContactName>().firstName(), QStringLiteral("Ann"));
        QCOMPARE(loaded.detail<QContactName>().lastName(), QStringLiteral("Lee"));
        const QVariant url = loaded.detail<QContactAvatar>().value(QContactAvatar::FieldImageUrl);
        QCOMPARE(url.userType(), int(QMetaType::QUrl));
        QCOMPARE(url.toUrl().toLocalFile(), picture);
        QCOMPARE(loaded.detail<QContactPhoneNumber>().number(), QStringLiteral("+358 40 123"));
        QCOMPARE(loaded.detail<QContactPhoneNumber>().subTypes(), QList<int>{QContactPhoneNumber::SubTypeMobile});
        QCOMPARE(loaded.detail<QContactEmailAddress>().emailAddress(), QStringLiteral("ann@example.org"));
        QCOMPARE(loaded.detail<QContactOrganization>().name(), QStringLiteral("Zelkor"));
        QCOMPARE(loaded.detail<QContactOrganization>().title(), QStringLiteral("Engineer"));
    }

    void updatesInPlace()
    {
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(manager->saveContact(&contact));
        const QContactId id = contact.id();
        QSignalSpy changed(manager.data(), &QContactManager::contactsChanged);
        QSignalSpy added(manager.data(), &QContactManager::contactsAdded);

        QContactName name = contact.detail<QContactName>();
        name.setLastName(QStringLiteral("Lindqvist"));
        contact.saveDetail(&name);
        QVERIFY(manager->saveContact(&contact));

        QCOMPARE(contact.id(), id);
        QCOMPARE(lastNames(manager->contacts()), QStringList{"Lindqvist"});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QList<QContactId>>(), QList<QContactId>{id});
        QVERIFY(changed.at(0).at(1).value<QList<QContactDetail::DetailType>>().contains(QContactName::Type));
        QCOMPARE(added.count(), 0);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"1.vcf"});
    }

    void foreignIdsGetNewOnes()
    {
        QTemporaryDir otherDir;
        QContactManager other(QStringLiteral("tracker"), inDirectory(otherDir.path()));
        QContact elsewhere = person(QStringLiteral("Bo"), QStringLiteral("Berg"));
        QVERIFY(other.saveContact(&elsewhere));
        QContact here = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(manager->saveContact(&here));

        // Same number, other store: a new contact here, not an update of 1.
        QCOMPARE(elsewhere.id().localId(), QByteArray("1"));
        QVERIFY(elsewhere.id() != here.id());
        QVERIFY(manager->saveContact(&elsewhere));
        QCOMPARE(elsewhere.id(), manager->contactIds().last());
        QCOMPARE(lastNames(manager->contacts()), QStringList({"Lee", "Berg"}));
        QCOMPARE(lastNames(other.contacts()), QStringList{"Berg"});
    }

    void unknownIds_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QByteArray>("localId");
        QTest::newRow("never saved") << QString() << QByteArray("7");
        QTest::newRow("leading zero") << QString() << QByteArray("01");
        QTest::newRow("sign") << QString() << QByteArray("+1");
        QTest::newRow("letters") << QString() << QByteArray("1a");
        QTest::newRow("beyond 32 bits") << QString() << QByteArray("4294967297");
        QTest::newRow("other manager") << QStringLiteral("qtcontacts:memory:") << QByteArray("1");
    }

    void unknownIds()
    {
        QFETCH(QString, uri);
        QFETCH(QByteArray, localId);
        QContact saved = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(manager->saveContact(&saved));
        const QContactId id(uri.isEmpty() ? manager->managerUri() : uri, localId);

        QVERIFY(manager->contact(id).isEmpty());
        QCOMPARE(manager->error(), QContactManager::DoesNotExistError);
        QVERIFY(!manager->removeContact(id));
        QCOMPARE(manager->error(), QContactManager::DoesNotExistError);
        QCOMPARE(manager->contactIds(), QList<QContactId>{saved.id()});
    }

    void removeDeletesTheCard()
    {
        QList<QContact> contacts{person(QStringLiteral("Ann"), QStringLiteral("Lee")),
                                 person(QStringLiteral("Bo"), QStringLiteral("Berg")),
                                 person(QStringLiteral("Cy"), QStringLiteral("Cole"))};
        QVERIFY(manager->saveContacts(&contacts));
        QSignalSpy removed(manager.data(), &QContactManager::contactsRemoved);

        QVERIFY(manager->removeContact(contacts.at(1).id()));
        QVERIFY(!QFile::exists(cardPath(QStringLiteral("2"))));
        QCOMPARE(removed.count(), 1);
        QVERIFY(manager->contact(contacts.at(1).id()).isEmpty());
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "3"}));

        // A new contact follows the highest id; a freed highest id is reused.
        QContact next = person(QStringLiteral("Di"), QStringLiteral("Dahl"));
        QVERIFY(manager->saveContact(&next));
        QCOMPARE(next.id().localId(), QByteArray("4"));
        QVERIFY(manager->removeContacts({next.id(), contacts.at(2).id()}));
        QContact last = person(QStringLiteral("Ed"), QStringLiteral("Eck"));
        QVERIFY(manager->saveContact(&last));
        QCOMPARE(last.id().localId(), QByteArray("2"));
    }

    void claimedIdsAreSkipped()
    {
        // An empty card is an id that another writer has claimed and not yet
        // filled: not a contact, and not free.
        QFile claim(cardPath(QStringLiteral("5")));
        QVERIFY(claim.open(QIODevice::WriteOnly));
        claim.close();
        QVERIFY(manager->contactIds().isEmpty());
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(manager->saveContact(&contact));
        QCOMPARE(contact.id().localId(), QByteArray("6"));
    }

    void sharedDirectory()
    {
        QContactManager second(QStringLiteral("tracker"), inDirectory(dir->path()));
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(manager->saveContact(&contact));
        QCOMPARE(second.managerUri(), manager->managerUri());
        QCOMPARE(second.contactIds(), QList<QContactId>{contact.id()});
        QCOMPARE(second.contact(contact.id()).detail<QContactName>().firstName(), QStringLiteral("Ann"));
        QVERIFY(second.removeContact(contact.id()));
        QVERIFY(manager->contactIds().isEmpty());
    }

    void filterAndSort()
    {
        QList<QContact> contacts{person(QStringLiteral("Ann"), QStringLiteral("Lee")),
                                 person(QStringLiteral("Bo"), QStringLiteral("Berg")),
                                 person(QStringLiteral("Ann"), QStringLiteral("Aho"))};
        QVERIFY(manager->saveContacts(&contacts));
        QContactDetailFilter anns;
        anns.setDetailType(QContactName::Type, QContactName::FieldFirstName);
        anns.setValue(QStringLiteral("Ann"));
        QContactSortOrder byLastName;
        byLastName.setDetailType(QContactName::Type, QContactName::FieldLastName);

        QCOMPARE(lastNames(manager->contacts(anns)), QStringList({"Lee", "Aho"}));
        QCOMPARE(lastNames(manager->contacts(anns, {byLastName})), QStringList({"Aho", "Lee"}));
        QCOMPARE(lastNames(manager->contacts({byLastName})), QStringList({"Aho", "Berg", "Lee"}));
        QCOMPARE(localIds(manager->contactIds(anns, {byLastName})), QStringList({"3", "1"}));
    }

    void directoryChoice_data()
    {
        QTest::addColumn<bool>("parameter");
        QTest::addColumn<bool>("environment");
        QTest::addColumn<QString>("dataHome"); // relative to the scratch directory; "-" relative itself
        QTest::addColumn<QString>("expected");
        QTest::newRow("parameter wins") << true << true << "data" << "param";
        QTest::newRow("environment") << false << true << "data" << "env";
        QTest::newRow("data home") << false << false << "data" << "data/tracker-contacts";
        QTest::newRow("relative data home") << false << false << "-" << "home/.local/share/tracker-contacts";
        QTest::newRow("no data home") << false << false << "" << "home/.local/share/tracker-contacts";
    }

    void directoryChoice()
    {
        QFETCH(bool, parameter);
        QFETCH(bool, environment);
        QFETCH(QString, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir scratch;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", scratch.filePath(QStringLiteral("home")).toUtf8());
        if (dataHome == QLatin1String("-"))
            qputenv("XDG_DATA_HOME", "relative/data");
        else if (dataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", scratch.filePath(dataHome).toUtf8());
        if (environment)
            qputenv("TRACKER_CONTACTS_DIR", scratch.filePath(QStringLiteral("env")).toUtf8());
        else
            qunsetenv("TRACKER_CONTACTS_DIR");

        QContactManager chosen(QStringLiteral("tracker"),
                               parameter ? inDirectory(scratch.filePath(QStringLiteral("param")))
                                         : QMap<QString, QString>());
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        const bool saved = chosen.saveContact(&contact);
        qputenv("HOME", savedHome);
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("TRACKER_CONTACTS_DIR");

        QVERIFY(saved);
        QVERIFY(QFile::exists(scratch.filePath(expected + QStringLiteral("/1.vcf"))));
        QCOMPARE(chosen.managerParameters().value(QStringLiteral("directory")), scratch.filePath(expected));
    }

    void unwritableStore()
    {
        // A directory that cannot be created, whoever runs the test.
        const QString blocker = dir->filePath(QStringLiteral("file"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QContactManager blocked(QStringLiteral("tracker"), inDirectory(blocker + QStringLiteral("/store")));
        QContact contact = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QVERIFY(!blocked.saveContact(&contact));
        QCOMPARE(blocked.error(), QContactManager::UnspecifiedError);
        QVERIFY(contact.id().isNull());
        QVERIFY(blocked.contactIds().isEmpty());
        QCOMPARE(blocked.error(), QContactManager::NoError);
    }
};

QTEST_GUILESS_MAIN(TestTrackerContacts)
#include "tst_trackercontacts.moc"

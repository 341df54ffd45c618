// The contacts backend "tracker", loaded as a plugin through QtContacts, on
// directories of its own.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactDetailFilter>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtContacts/QContactNote>
#include <QtTest>

QTCONTACTS_USE_NAMESPACE

Q_DECLARE_METATYPE(QList<QContactId>)

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
    return {{QStringLiteral("directory"), path}};
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

    QString cardPath(const QString& localId) const { return dir->filePath(localId + QStringLiteral(".vcf")); }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QList<QContactId>>();
        QVERIFY(QContactManager::availableManagers().contains(QStringLiteral("tracker")));
    }

    void init()
    {
        manager.reset();
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        manager.reset(new QContactManager(QStringLiteral("tracker"), inDirectory(dir->path())));
    }

    // Ids are numbers from 1, one card file each. A new contact follows the
    // highest id in use, and an empty card is an id that another writer has
    // claimed and not yet filled: not a contact, and not free.
    void idsAndCards()
    {
        QSignalSpy added(manager.data(), &QContactManager::contactsAdded);
        QSignalSpy removed(manager.data(), &QContactManager::contactsRemoved);
        QList<QContact> contacts{person("Ann", "Lee"), person("Bo", "Berg"), person("Cy", "Cole")};
        QVERIFY(manager->saveContacts(&contacts));
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "2", "3"}));
        QCOMPARE(added.count(), 1);
        QCOMPARE(localIds(added.at(0).at(0).value<QList<QContactId>>()), QStringList({"1", "2", "3"}));
        QFile card(cardPath(QStringLiteral("2")));
        QVERIFY(card.open(QIODevice::ReadOnly) && card.readAll().contains("N:Berg;Bo;;;\r\n"));

        QVERIFY(manager->removeContact(contacts.at(1).id()));
        QVERIFY(!QFile::exists(cardPath(QStringLiteral("2"))));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "3"}));
        QContact next = person("Di", "Dahl");
        QVERIFY(manager->saveContact(&next));
        QCOMPARE(next.id().localId(), QByteArray("4"));
        QVERIFY(manager->removeContacts({next.id(), contacts.at(2).id()}));
        QContact reusing = person("Ed", "Eck");
        QVERIFY(manager->saveContact(&reusing));
        QCOMPARE(reusing.id().localId(), QByteArray("2"));

        QVERIFY(QFile(cardPath(QStringLiteral("5"))).open(QIODevice::WriteOnly));
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "2"}));
        QContact last = person("Fay", "Fox");
        QVERIFY(manager->saveContact(&last));
        QCOMPARE(last.id().localId(), QByteArray("6"));
    }

    // A second manager on the same directory reads from the files alone, and
    // an update keeps the id and the card.
    void sharedDirectory()
    {
        const QString picture = dir->filePath(QStringLiteral("faces/a b,c;d%e#.png"));
        QContact contact = person("Ann", "Lee");
        QContactAvatar avatar;
        avatar.setImageUrl(QUrl::fromLocalFile(picture));
        contact.saveDetail(&avatar);
        QVERIFY(manager->saveContact(&contact));

        QContactManager second(QStringLiteral("tracker"), inDirectory(dir->path()));
        QCOMPARE(second.managerUri(), manager->managerUri());
        const QContact loaded = second.contact(contact.id());
        QCOMPARE(loaded.id(), contact.id());
        QCOMPARE(lastNames({loaded}), QStringList{"Lee"});
        QCOMPARE(loaded.detail<QContactAvatar>().imageUrl().toLocalFile(), picture);

        QSignalSpy changed(manager.data(), &QContactManager::contactsChanged);
        QContactName name = contact.detail<QContactName>();
        name.setLastName(QStringLiteral("Lindqvist"));
        contact.saveDetail(&name);
        QVERIFY(manager->saveContact(&contact));
        QCOMPARE(contact.id(), loaded.id());
        QCOMPARE(lastNames(second.contacts()), QStringList{"Lindqvist"});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QList<QContactId>>(), QList<QContactId>{contact.id()});
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"1.vcf"});

        QVERIFY(second.removeContact(contact.id()));
        QVERIFY(manager->contactIds().isEmpty());
    }

    void foreignIdsGetNewOnes()
    {
        QTemporaryDir otherDir;
        QContactManager other(QStringLiteral("tracker"), inDirectory(otherDir.path()));
        QContact elsewhere = person("Bo", "Berg");
        QVERIFY(other.saveContact(&elsewhere));
        QContact here = person("Ann", "Lee");
        QVERIFY(manager->saveContact(&here));

        // Same number, other store: a new contact here, not an update of 1.
        QCOMPARE(elsewhere.id().localId(), QByteArray("1"));
        QVERIFY(manager->saveContact(&elsewhere));
        QCOMPARE(localIds({elsewhere.id()}), QStringList{"2"});
        QCOMPARE(lastNames(manager->contacts()), QStringList({"Lee", "Berg"}));
        QCOMPARE(lastNames(other.contacts()), QStringList{"Berg"});
    }

    // Ids that might be read as the saved contact 1, but are not its own.
    void unknownIds_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QByteArray>("localId");
        QTest::newRow("never saved") << QString() << QByteArray("7");
        QTest::newRow("leading zero") << QString() << QByteArray("01");
        QTest::newRow("beyond 32 bits") << QString() << QByteArray("4294967297");
        QTest::newRow("other manager") << QStringLiteral("qtcontacts:memory:") << QByteArray("1");
    }

    void unknownIds()
    {
        QFETCH(QString, uri);
        QFETCH(QByteArray, localId);
        QContact saved = person("Ann", "Lee");
        QVERIFY(manager->saveContact(&saved));
        const QContactId id(uri.isEmpty() ? manager->managerUri() : uri, localId);

        QVERIFY(manager->contact(id).isEmpty());
        QCOMPARE(manager->error(), QContactManager::DoesNotExistError);
        QVERIFY(!manager->removeContact(id));
        QCOMPARE(manager->error(), QContactManager::DoesNotExistError);
        QCOMPARE(manager->contactIds(), QList<QContactId>{saved.id()});
    }

    void filterAndSort()
    {
        QList<QContact> contacts{person("Ann", "Lee"), person("Bo", "Berg"), person("Ann", "Aho")};
        QVERIFY(manager->saveContacts(&contacts));
        QContactDetailFilter anns;
        anns.setDetailType(QContactName::Type, QContactName::FieldFirstName);
        anns.setValue(QStringLiteral("Ann"));
        QContactSortOrder byLastName;
        byLastName.setDetailType(QContactName::Type, QContactName::FieldLastName);

        QCOMPARE(lastNames(manager->contacts(anns)), QStringList({"Lee", "Aho"}));
        QCOMPARE(localIds(manager->contactIds(anns, {byLastName})), QStringList({"3", "1"}));
    }

    // Without a directory parameter: $TRACKER_CONTACTS_DIR, else below the
    // data home, which must be absolute to count.
    void defaultDirectory_data()
    {
        QTest::addColumn<bool>("environment");
        QTest::addColumn<QByteArray>("dataHome"); // relative to the scratch directory unless "relative/..."
        QTest::addColumn<QString>("expected");
        QTest::newRow("environment") << true << QByteArray("data") << "env";
        QTest::newRow("data home") << false << QByteArray("data") << "data/tracker-contacts";
        QTest::newRow("relative data home") << false << QByteArray("relative/data") << "home/.local/share/tracker-contacts";
    }

    void defaultDirectory()
    {
        QFETCH(bool, environment);
        QFETCH(QByteArray, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir scratch;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(scratch.filePath("home")));
        qputenv("XDG_DATA_HOME", dataHome.startsWith("relative") ? dataHome : QFile::encodeName(scratch.filePath(dataHome)));
        if (environment)
            qputenv("TRACKER_CONTACTS_DIR", QFile::encodeName(scratch.filePath("env")));
        else
            qunsetenv("TRACKER_CONTACTS_DIR");
        QContactManager chosen(QStringLiteral("tracker"));
        QContact contact = person("Ann", "Lee");
        const bool saved = chosen.saveContact(&contact);
        qputenv("HOME", savedHome);
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("TRACKER_CONTACTS_DIR");

        QVERIFY(saved);
        QVERIFY(QFile::exists(scratch.filePath(expected + QStringLiteral("/1.vcf"))));
        QCOMPARE(chosen.managerParameters().value(QStringLiteral("directory")), scratch.filePath(expected));
    }

    // Cards that another process put into the store: what cannot be read
    // (nested BEGINs would overflow QtVersit's stack, a huge card take it
    // minutes) is no contact, and the others stay.
    void foreignCards_data()
    {
        QTest::addColumn<QByteArray>("card");
        QTest::addColumn<QStringList>("lastNames");
        const QByteArray bo("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Bo;;;\r\nEND:VCARD\r\n");
        QTest::newRow("vCard 2.1, quoted-printable across lines")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:B=\r\nerg;Bo\r\nEND:VCARD\r\n")
            << QStringList{"Lee", "Berg"};
        QTest::newRow("nested BEGINs") << bo + QByteArray("BEGIN:VCARD\n").repeated(80000) << QStringList{"Lee", "Berg"};
        QTest::newRow("huge") << bo.left(40) + "NOTE:" + QByteArray(8 << 20, 'x') + "\r\nEND:VCARD\r\n" << QStringList{"Lee"};
        QTest::newRow("truncated") << bo.left(30) << QStringList{"Lee"};
        QTest::newRow("binary") << QByteArray(4096, '\xff') << QStringList{"Lee"};
    }

    void foreignCards()
    {
        QFETCH(QByteArray, card);
        QFETCH(QStringList, lastNames);
        QContact saved = person("Ann", "Lee");
        QVERIFY(manager->saveContact(&saved));
        QFile file(cardPath(QStringLiteral("2")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(card) == card.size());
        file.close();
        QCOMPARE(::lastNames(manager->contacts()), lastNames);
        QCOMPARE(manager->contact(QContactId(manager->managerUri(), "2")).isEmpty(), lastNames.size() == 1);
    }

    // A card too large to be read back is not stored either.
    void oversizedContact()
    {
        QContact contact = person("Ann", "Lee");
        QContactNote note;
        note.setNote(QString(2 << 20, QLatin1Char('x')));
        contact.saveDetail(&note);
        QVERIFY(!manager->saveContact(&contact));
        QCOMPARE(manager->error(), QContactManager::InvalidDetailError);
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());
    }

    void unwritableStore()
    {
        // A directory that cannot be created, whoever runs the test.
        const QString blocker = dir->filePath(QStringLiteral("file"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        QContactManager blocked(QStringLiteral("tracker"), inDirectory(blocker + QStringLiteral("/store")));
        QContact contact = person("Ann", "Lee");
        QVERIFY(!blocked.saveContact(&contact));
        QCOMPARE(blocked.error(), QContactManager::UnspecifiedError);
        QVERIFY(contact.id().isNull());
        QVERIFY(blocked.contactIds().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTrackerContacts)
#include "tst_trackercontacts.moc"

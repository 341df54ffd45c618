// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The contacts backend "tracker", loaded as a plugin through QtContacts, on
// directories of its own.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
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

    QScopedPointer<QTemporaryDir> dir;
    QScopedPointer<QContactManager> manager;

    QContactManager* managerOn(const QString& path) const
    {
        return new QContactManager(QStringLiteral("tracker"), {{QStringLiteral("directory"), path}});
    }
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
        manager.reset(managerOn(dir->path()));
    }

    // Ids are numbers from 1, one card file each. A new contact follows the
    // highest id in use, and an empty card is an id that another writer has
    // claimed and not yet filled: not a contact, and not free.
    void idsAndCards()
    {
        QList<QContact> contacts{person("Ann", "Lee"), person("Bo", "Berg"), person("Cy", "Cole")};
        QVERIFY(manager->saveContacts(&contacts));
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "2", "3"}));
        QFile card(cardPath(QStringLiteral("2")));
        QVERIFY(card.open(QIODevice::ReadOnly) && card.readAll().contains("N:Berg;Bo;;;\r\n"));

        QVERIFY(manager->removeContact(contacts.at(1).id()));
        QVERIFY(!QFile::exists(cardPath(QStringLiteral("2"))));
        QContact next = person("Di", "Dahl");
        QVERIFY(manager->saveContact(&next));
        QCOMPARE(next.id().localId(), QByteArray("4"));
        QVERIFY(QFile(cardPath(QStringLiteral("5"))).open(QIODevice::WriteOnly));
        QCOMPARE(localIds(manager->contactIds()), QStringList({"1", "3", "4"}));
        QContact last = person("Fay", "Fox");
        QVERIFY(manager->saveContact(&last));
        QCOMPARE(last.id().localId(), QByteArray("6"));
    }

    // A second manager on the same directory reads from the files alone, and
    // an update keeps the id and the card.
    void sharedDirectory()
    {
        QContact contact = person("Ann", "Lee");
        QVERIFY(manager->saveContact(&contact));
        QScopedPointer<QContactManager> second(managerOn(dir->path()));
        const QContact loaded = second->contact(contact.id());
        QCOMPARE(loaded.id(), contact.id());

        QSignalSpy changed(manager.data(), &QContactManager::contactsChanged);
        QContactName name = contact.detail<QContactName>();
        name.setLastName(QStringLiteral("Lindqvist"));
        contact.saveDetail(&name);
        QVERIFY(manager->saveContact(&contact));
        QCOMPARE(lastNames(second->contacts()), QStringList{"Lindqvist"});
        QCOMPARE(changed.value(0).value(0).value<QList<QContactId>>(), QList<QContactId>{loaded.id()});
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"1.vcf"});
    }

    // Ids that might be read as the saved contact 1, but are not its own: a
    // contact saved with one of another store is a new contact here.
    void unknownIds_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QByteArray>("localId");
        QTest::addColumn<bool>("savedAsNew");
        QTest::newRow("never saved") << QString() << QByteArray("7") << false;
        QTest::newRow("leading zero") << QString() << QByteArray("01") << true;
        QTest::newRow("beyond 32 bits") << QString() << QByteArray("4294967297") << true;
        QTest::newRow("other manager") << QStringLiteral("qtcontacts:memory:") << QByteArray("1") << true;
        QTest::newRow("other store") << QStringLiteral("qtcontacts:tracker:directory=/elsewhere") << QByteArray("1") << true;
    }

    void unknownIds()
    {
        QFETCH(QString, uri);
        QFETCH(QByteArray, localId);
        QFETCH(bool, savedAsNew);
        QContact saved = person("Ann", "Lee");
        QVERIFY(manager->saveContact(&saved));
        const QContactId id(uri.isEmpty() ? manager->managerUri() : uri, localId);

        QVERIFY(manager->contact(id).isEmpty() && !manager->removeContact(id));
        QCOMPARE(manager->error(), QContactManager::DoesNotExistError);
        QContact elsewhere = person("Bo", "Berg");
        elsewhere.setId(id);
        QCOMPARE(manager->saveContact(&elsewhere), savedAsNew);
        QCOMPARE(localIds(manager->contactIds()), savedAsNew ? QStringList({"1", "2"}) : QStringList{"1"});
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
        QTest::newRow("100 BEGINs") << bo + QByteArray("BEGIN:VCARD\n").repeated(99) << QStringList{"Lee", "Berg"};
        QTest::newRow("nested BEGINs") << bo + QByteArray("BEGIN:VCARD\n").repeated(80000) << QStringList{"Lee"};
        QTest::newRow("folded BEGINs") << bo + QByteArray("BE\r\n GIN:VCARD\n").repeated(101) << QStringList{"Lee"};
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

    // A card that could not be read back is not stored either; nor is any
    // card where the store cannot be written.
    void refusedSaves_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("store");
        QTest::addColumn<int>("error");
        QTest::newRow("too large") << QString(2 << 20, QLatin1Char('x')) << "" << int(QContactManager::InvalidDetailError);
        QTest::newRow("too many BEGINs") << QStringLiteral("begin ").repeated(101) << "" << int(QContactManager::InvalidDetailError);
        QTest::newRow("unwritable store") << "" << "file/store" << int(QContactManager::UnspecifiedError);
    }

    void refusedSaves()
    {
        QFETCH(QString, note);
        QFETCH(QString, store);
        QFETCH(int, error);
        // A directory that cannot be created, whoever runs the test.
        QVERIFY(QFile(dir->filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly));
        QScopedPointer<QContactManager> refusing(managerOn(dir->filePath(store)));
        QContact contact = person("Ann", "Lee");
        QContactNote detail;
        detail.setNote(note);
        contact.saveDetail(&detail);
        QVERIFY(!refusing->saveContact(&contact));
        QCOMPARE(int(refusing->error()), error);
        QVERIFY(contact.id().isNull());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"file"});
    }
};

QTEST_GUILESS_MAIN(TestTrackerContacts)
#include "tst_trackercontacts.moc"

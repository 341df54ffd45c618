// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// ConnectivitySettings against the real store, with the netprefs tool as a
// second process.
#include <Pavane/ConnectivitySettings>

#include "testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <csignal>

using Pavane::ConnectivitySettings;
using TestSupport::describe;
using TestSupport::list;

class TestConnectivitySettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString database;

    // Another writer of the same database: the netprefs command.
    void startTool(QProcess& process, const QStringList& arguments)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(NETPREFS_TOOL), QStringList{QStringLiteral("--db"), database} + arguments);
    }

    bool tool(const QStringList& arguments)
    {
        QProcess process;
        startTool(process, arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // Writes a row as another program might, with sqlite3.
    void writeRow(const char* id, const char* key, const QByteArray& kind, const QByteArray& value)
    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(database.toUtf8().constData(), &db), SQLITE_OK);
        const QByteArray sql = QByteArray("INSERT OR REPLACE INTO settings VALUES (1, '") + id + "', '" + key
            + "', " + kind + ", " + value + ")";
        const int result = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(result, SQLITE_OK);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        database = dir.filePath(QStringLiteral("netprefs.db"));
        qputenv("NETPREFS_DB", database.toUtf8());
    }

    // An invalid "readBack" means the value reads back as it was stored.
    void roundTrips_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("readBack");

        const QString utf8 = QStringLiteral("Kahvila «Ääni» ☕");
        QTest::newRow("bool") << QVariant(true) << QVariant();
        QTest::newRow("int") << QVariant(-42) << QVariant();
        QTest::newRow("double") << QVariant(2.5) << QVariant();
        QTest::newRow("UTF-8 string") << QVariant(utf8) << QVariant();
        QTest::newRow("bytes") << QVariant(QByteArray("\x00\xff\x10", 3)) << QVariant();
        QTest::newRow("string list") << QVariant(QStringList{utf8, "b"}) << QVariant();
        QTest::newRow("ints within a byte") << list({1, 2, 255}) << QVariant(QByteArray("\x01\x02\xff"));
        QTest::newRow("int beyond a byte") << list({1, 256}) << QVariant();
        QTest::newRow("empty string list") << QVariant(QStringList()) << QVariant(QVariantList());
        // Follows a stored value, and removes it.
        QTest::newRow("invalid") << QVariant() << QVariant();
    }

    void roundTrips()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, readBack);
        const QString expected = describe(readBack.isValid() ? readBack : value);
        ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("round-trip"));
        QCOMPARE(settings.set(QStringLiteral("value"), value), 0);
        QCOMPARE(describe(settings.get(QStringLiteral("value"))), expected);
        // A fresh object, and so a fresh read, agrees.
        ConnectivitySettings other(ConnectivitySettings::IAP, QStringLiteral("round-trip"));
        QCOMPARE(describe(other.get(QStringLiteral("value"))), expected);
    }

    // A refused value must not cost the one stored before.
    void valuesThatCannotBeStored_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("empty list") << list({});
        QTest::newRow("mixed list") << list({1, "x"});
        QTest::newRow("uints in a list") << list({1u, 2u});
        QTest::newRow("map") << QVariant(QVariantMap{{"a", 1}});
        QTest::newRow("uint") << QVariant(7u);
    }

    void valuesThatCannotBeStored()
    {
        QFETCH(QVariant, value);
        ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("refused"));
        QCOMPARE(settings.set(QStringLiteral("kept"), QStringLiteral("before")), 0);
        QCOMPARE(settings.set(QStringLiteral("kept"), value), -20);
        QCOMPARE(settings.get(QStringLiteral("kept")), QVariant(QStringLiteral("before")));
    }

    // Values other writers stored: lists through the netprefs command, and
    // rows that another program wrote with sqlite3, in which a value unfit
    // for its kind reads as none, and nothing is cut or read out of bounds.
    void fromOtherWriters_data()
    {
        QTest::addColumn<QStringList>("tool"); // kind and values, or "sql", kind and SQL value
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QString>("warning");
        // Boolean elements keep their raw payload, so they narrow to bytes.
        QTest::newRow("bools") << QStringList{"bools", "true", "false", "true"} << QVariant(QByteArray("\x01\x00\x01", 3))
                               << QString();
        QTest::newRow("ints") << QStringList{"ints", "0", "1", "300"} << list({0, 1, 300}) << QString();
        const auto row = [](const char* kind, const char* value) { return QStringList{"sql", kind, value}; };
        // A list starting with a string that holds an int stays a list.
        QTest::newRow("string and int") << row("5", "X'0101000000610207000000'") << list({"a", 7}) << QString();
        QTest::newRow("damaged list") << row("5", "X'09'") << list({}) << "Error while reading k";
        QTest::newRow("unknown kind") << row("42", "X'3f'") << QVariant() << "UnKnown value type";
        QTest::newRow("int beyond 32 bits") << row("2", "99999999999") << QVariant() << QString();
        QTest::newRow("string with a NUL") << row("1", "X'610062'") << QVariant(QStringLiteral("a")) << QString();
        QTest::newRow("bytes with a NUL") << row("6", "X'610062'") << QVariant(QByteArray("a\0b", 3)) << QString();
        QTest::newRow("huge bytes") << row("6", "zeroblob(20000000)") << QVariant() << QString();
    }

    void fromOtherWriters()
    {
        QFETCH(QStringList, tool);
        QFETCH(QVariant, expected);
        QFETCH(QString, warning);
        ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("written"));
        if (tool.first() == QLatin1String("sql"))
            writeRow("written", "k", tool[1].toLatin1(), tool[2].toLatin1());
        else
            QVERIFY(this->tool(QStringList{"set", "iap", "written", "k"} + tool));
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QCOMPARE(describe(settings.get(QStringLiteral("k"))), describe(expected));
    }

    void keysAndIds()
    {
        const QString id = QStringLiteral("Café Wi-Fi");
        const QString key = QStringLiteral("näyttönimi");
        ConnectivitySettings record(ConnectivitySettings::Bearer, id);
        QCOMPARE(record.set(key, 1), 0);
        QCOMPARE(record.set(QStringLiteral("b"), 2), 0);
        QCOMPARE(record.set(QStringLiteral("a"), 3), 0);
        ConnectivitySettings other(ConnectivitySettings::Bearer, QStringLiteral("Alpha"));
        QCOMPARE(other.set(QStringLiteral("x"), 1), 0);

        QCOMPARE(record.getAllKeys(), (QStringList{"a", "b", key}));
        ConnectivitySettings bearers(ConnectivitySettings::Bearer);
        QCOMPARE(bearers.getAllIds(), (QStringList{"Alpha", id}));

        // Without an id of its own: is there such a record?
        QVERIFY(bearers.idExists(id));
        QVERIFY(!bearers.idExists(QStringLiteral("Nobody")));
        // With one: does it hold a value of that name?
        QVERIFY(record.idExists(key));
        QVERIFY(!record.idExists(QStringLiteral("Alpha")));

        // The default record, null id or empty, holds the type-wide settings.
        QCOMPARE(bearers.set(QStringLiteral("autoconnect"), true), 0);
        ConnectivitySettings emptyId(ConnectivitySettings::Bearer, QString(""));
        QCOMPARE(emptyId.get(QStringLiteral("autoconnect")), QVariant(true));
        QCOMPARE(bearers.getAllIds(), (QStringList{"Alpha", id}));
    }

    void changesFromThisAndOtherProcesses()
    {
        ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("watched"));
        QSignalSpy changed(&settings, SIGNAL(valueChanged(QString)));
        QCOMPARE(settings.set(QStringLiteral("own"), 1), 0);
        QCOMPARE(settings.get(QStringLiteral("own")), QVariant(1));
        QCOMPARE(changed.count(), 0); // from the event loop, not from within set()
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("own"));

        QVERIFY(tool({"set", "iap", "watched", "ssid-ö", "string", "Koti"}));
        QTRY_COMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("ssid-ö"));
        QCOMPARE(settings.get(QStringLiteral("ssid-ö")), QVariant(QStringLiteral("Koti")));

        // Records of another type or id are not this one.
        QVERIFY(tool({"set", "bearer", "watched", "x", "int", "1"}));
        QVERIFY(tool({"set", "iap", "unwatched", "x", "int", "1"}));
        QVERIFY(tool({"unset", "iap", "watched", "own"}));
        // Nothing read before is kept: another writer's commit is seen at once.
        QVERIFY(!settings.get(QStringLiteral("own")).isValid());
        QTRY_COMPARE(changed.count(), 3);
        QCOMPARE(changed.at(2).at(0).toString(), QStringLiteral("own"));

        // Removing the record announces each of its values.
        settings.remove();
        QVERIFY(settings.getAllKeys().isEmpty());
        QTRY_COMPARE(changed.count(), 4);
        QCOMPARE(changed.at(3).at(0).toString(), QStringLiteral("ssid-ö"));
    }

    // A writer killed midway: every value it committed reads back whole,
    // and later changes are still heard.
    void aWriterKilledMidway()
    {
        ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("filled"));
        QSignalSpy changed(&settings, SIGNAL(valueChanged(QString)));
        QProcess writer;
        startTool(writer, {"fill", "iap", "filled", "k", "1000000"});
        QByteArray stored;
        QVERIFY(QTest::qWaitFor([&] { return (stored += writer.readAllStandardOutput()).count('\n') >= 50; }));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished());
        const QStringList keys = settings.getAllKeys();
        QVERIFY(keys.size() >= 50 && keys.size() < 1000000);
        for (const QString& key : keys)
            QCOMPARE(settings.get(key), QVariant(key.mid(1).toInt()));
        QVERIFY(tool({"set", "iap", "filled", "after", "int", "1"}));
        QTRY_VERIFY(!changed.isEmpty() && changed.last().at(0).toString() == QLatin1String("after"));
    }

    // A receiver deletes objects watching the same record while changes are
    // being announced to them; whoever is left hears every change.
    void receiversDeleteWatchersMidNotification_data()
    {
        QTest::addColumn<bool>("deleteEmitter");
        QTest::addColumn<bool>("deleteSibling");
        QTest::addColumn<bool>("createWatcher");
        QTest::newRow("the emitter") << true << false << false;
        QTest::newRow("its sibling") << false << true << false;
        QTest::newRow("the emitter, making a new watcher") << true << false << true;
    }

    void receiversDeleteWatchersMidNotification()
    {
        QFETCH(bool, deleteEmitter);
        QFETCH(bool, deleteSibling);
        QFETCH(bool, createWatcher);
        const QString id = QStringLiteral("reentrant");
        QPointer<ConnectivitySettings> emitter(new ConnectivitySettings(ConnectivitySettings::IAP, id));
        QPointer<ConnectivitySettings> sibling(new ConnectivitySettings(ConnectivitySettings::IAP, id));
        ConnectivitySettings survivor(ConnectivitySettings::IAP, id);
        QSignalSpy survivorChanges(&survivor, SIGNAL(valueChanged(QString)));
        std::unique_ptr<ConnectivitySettings> created;
        std::unique_ptr<QSignalSpy> createdChanges;
        connect(emitter, &ConnectivitySettings::valueChanged, this, [&] {
            if (deleteSibling)
                delete sibling;
            if (createWatcher && !created) {
                created.reset(new ConnectivitySettings(ConnectivitySettings::IAP, id));
                createdChanges.reset(new QSignalSpy(created.get(), SIGNAL(valueChanged(QString))));
            }
            if (deleteEmitter)
                delete emitter;
        });
        // Two changes in one wake-up: the second reaches deleted objects' slots.
        QVERIFY(tool({"set", "iap", "reentrant", "a", "int", "1"}));
        QVERIFY(tool({"set", "iap", "reentrant", "b", "int", "2"}));
        QTRY_COMPARE(survivorChanges.count(), 2);
        QCOMPARE(emitter.isNull(), deleteEmitter);
        QCOMPARE(sibling.isNull(), deleteSibling);
        QVERIFY(tool({"set", "iap", "reentrant", "c", "int", "3"}));
        QTRY_COMPARE(survivorChanges.count(), 3);
        if (createdChanges)
            QTRY_COMPARE(createdChanges->last().at(0).toString(), QStringLiteral("c"));
        QCOMPARE(survivor.get(QStringLiteral("b")), QVariant(2));
        delete emitter;
        delete sibling;
    }

    // Every operation on a store that is no database fails cleanly, and
    // the file, not ours, is left alone.
    void aStoreThatCannotBeOpened()
    {
        const QString path = dir.filePath(QStringLiteral("garbage.db"));
        const QByteArray content(4096, 'x');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        qputenv("NETPREFS_DB", path.toUtf8());
        QTest::ignoreMessage(QtCriticalMsg, "Failed to open netprefs for \"home\"");
        QTest::ignoreMessage(QtWarningMsg, "Unable to add notify for connectivity settings");
        {
            ConnectivitySettings settings(ConnectivitySettings::IAP, QStringLiteral("home"));
            QVERIFY(!settings.get(QStringLiteral("k")).isValid());
            QVERIFY(settings.set(QStringLiteral("k"), 1) < 0);
            QVERIFY(settings.getAllKeys().isEmpty());
            QVERIFY(settings.getAllIds().isEmpty());
            QVERIFY(!settings.idExists(QStringLiteral("k")));
            QTest::ignoreMessage(QtWarningMsg, "Unable to remove IAP home");
            settings.remove();
        }
        qputenv("NETPREFS_DB", database.toUtf8());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    // A host that finds a library of the store's name without its functions
    // is told so once, and answers as with a store that cannot be opened.
    void aStoreLibraryWithoutItsFunctions()
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral(STORE_WITHOUT_FUNCTIONS_DIR));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{"aStoreThatCannotBeOpened", "aStoreThatCannotBeOpened"});
        QVERIFY(child.waitForFinished(30000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QCOMPARE(output.count("Cannot use the settings store: "), 1);
        QVERIFY2(output.contains(STORE_WITHOUT_FUNCTIONS_DIR "/libnetprefs.so.0: undefined symbol: net_prefs_open"),
                 output.constData());
    }
};

QTEST_GUILESS_MAIN(TestConnectivitySettings)
#include "tst_connectivitysettings.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The settings store through its C interface, with the netprefs tool as the
// other process: null arguments, file modes, writers killed at each
// point of a write, a tampered notify file and the tool's
// argument checks. (The library's suite drives the change notification.)
#include "netprefs.h"

#include "commandlinetest.h"

#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#define HEAP_FROM_SANITIZER
#else
#include <malloc.h>
#endif

namespace {

// The int values a handle was told of, -1 for none.
void record(int, const char*, const char*, const net_prefs_value* value, void* seen)
{
    static_cast<QList<int>*>(seen)->append(value && value->type == NET_PREFS_VALUE_INT ? value->value.int_value : -1);
}

int mode(const QString& path)
{
    struct stat info;
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

int intValue(net_prefs_handle* handle, const char* key)
{
    net_prefs_value* value = net_prefs_get(handle, key);
    const int result = value && value->type == NET_PREFS_VALUE_INT ? value->value.int_value : -1;
    net_prefs_value_destroy(value);
    return result;
}

bool intact(const QString& database)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* check = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(database).constData(), &db) == SQLITE_OK
        && sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK
        && sqlite3_step(check) == SQLITE_ROW
        && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
    sqlite3_finalize(check);
    sqlite3_close(db);
    return ok;
}

} // namespace

size_t heapInUse()
{
#ifdef HEAP_FROM_SANITIZER
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

class TestNetPrefs : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("private/store/netprefs.db"));

    // The tool on the suite's database, unless the arguments name another.
    QProcess* startTool(const QStringList& arguments, const QString& program = QStringLiteral(NETPREFS_TOOL))
    {
        auto* process = new QProcess(this);
        process->start(program, arguments.value(0) == "--db" ? arguments : QStringList{"--db", database} + arguments);
        return process;
    }

    // The tool's exit code (-1 when it crashed), its standard output and error.
    int run(const QStringList& arguments, QByteArray* output = nullptr, QByteArray* errors = nullptr)
    {
        QScopedPointer<QProcess> process(startTool(arguments));
        const bool finished = process->waitForFinished(120000);
        if (output)
            *output = process->readAllStandardOutput().trimmed();
        if (errors)
            *errors = process->readAllStandardError();
        return finished && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    }

    bool tool(const QStringList& arguments) { return run(arguments) == 0; }

    QByteArray toolGet(const QString& id)
    {
        QByteArray output;
        return run({"get", "iap", id, "k"}, &output) == 0 ? output : QByteArray("failed");
    }

private Q_SLOTS:
    void initTestCase() { qputenv("NETPREFS_DB", database.toUtf8()); }

    // Null arguments, unknown record types and bad lists are refused. (The
    // library's suite passes a null handle to the functions it calls.)
    void badArgumentsAreRefused()
    {
        net_prefs_value** values = reinterpret_cast<net_prefs_value**>(this);
        QVERIFY(net_prefs_get_list(nullptr, "k", &values) < 0 && !values && !net_prefs_list_keys(nullptr));
        QVERIFY(!net_prefs_add_notify(nullptr, &record, nullptr) && net_prefs_set_list(nullptr, "k", nullptr, 0, 1) < 0);
        net_prefs_del_notify(nullptr);
        net_prefs_values_destroy(nullptr);
        QVERIFY(!net_prefs_open(99, "x") && !net_prefs_id_exists(99, "x") && !net_prefs_list_ids(99));

        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "args");
        QVERIFY(net_prefs_set_string(handle, nullptr, "v") < 0 && net_prefs_set_string(handle, "k", nullptr) < 0);
        QVERIFY(net_prefs_set_byte_array(handle, "k", nullptr, 3) < 0 && net_prefs_set_list(handle, "k", "x", 1, 77) < 0);
        QVERIFY(net_prefs_set_list(handle, "k", nullptr, 2, NET_PREFS_VALUE_INT) < 0);
        QCOMPARE(net_prefs_get_list(handle, "k", &values), NET_PREFS_ERROR_NO_VALUE);
        QCOMPARE(net_prefs_set_int(handle, "k", 1), NET_PREFS_OK);
        QCOMPARE(net_prefs_get_list(handle, "k", &values), NET_PREFS_ERROR_NOT_LIST);
        // The store and its folder are the owner's only: they hold WLAN keys.
        for (const char* suffix : {"", "-wal", "-notify"})
            QCOMPARE(mode(database + suffix), 0600);
        QCOMPARE(mode(QFileInfo(database).path()), 0700);
        net_prefs_close(handle);
    }

    // Reads create nothing; a link at the database path is never followed to
    // create its target.
    void readsCreateNothing()
    {
        const QString fresh = dir.filePath(QStringLiteral("fresh/sub/netprefs.db"));
        QByteArray output;
        QCOMPARE(run({"--db", fresh, "get", "iap", "x", "k"}, &output), 0);
        QCOMPARE(output, QByteArray("none"));
        QVERIFY(run({"--db", fresh, "ids", "iap"}, &output) == 0 && output.isEmpty());
        QCOMPARE(mode(dir.filePath(QStringLiteral("fresh"))), -1);

        const QString link = dir.filePath(QStringLiteral("link.db"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere.db")), link));
        QVERIFY(run({"--db", link, "set", "iap", "x", "k", "int", "1"}) > 0);
        QVERIFY(run({"--db", link, "get", "iap", "x", "k"}) != -1);
        QCOMPARE(mode(dir.filePath(QStringLiteral("elsewhere.db"))), -1);
    }

    // Past the change log's pruning: a reader whose log was empty still sees
    // what another process wrote, and a process that only writes keeps no
    // bookkeeping that grows with its writes.
    void aLongHistoryOfWrites()
    {
        QVERIFY(tool({"set", "iap", "other", "k", "int", "0"}));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(database).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "DELETE FROM changes", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        net_prefs_handle* reader = net_prefs_open(NET_PREFS_TYPE_IAP, "cached");
        QCOMPARE(intValue(reader, "x"), -1);
        QVERIFY(tool({"set", "iap", "cached", "x", "int", "3"}));
        QVERIFY(tool({"fill", "iap", "filler", "k", "5200"}));
        QCOMPARE(intValue(reader, "x"), 3);
        net_prefs_close(reader);

        net_prefs_handle* writer = net_prefs_open(NET_PREFS_TYPE_IAP, "writer");
        for (int i = 0; i < 200; ++i) // what the first writes set up once
            QCOMPARE(net_prefs_set_int(writer, "k", i), NET_PREFS_OK);
        const size_t before = heapInUse();
        for (int i = 0; i < 8000; ++i)
            QCOMPARE(net_prefs_set_int(writer, "k", i), NET_PREFS_OK);
        QVERIFY2(heapInUse() < before + 128 * 1024, qPrintable(QString::number(heapInUse() - before)));
        net_prefs_close(writer);
    }

    // A writer killed at a point of its write: every reader's next read sees
    // exactly what was committed, and the database stays sound.
    void writerKilledAtEachPoint_data()
    {
        QTest::addColumn<QByteArray>("point");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<int>("expected"); // -1 for none
        const QStringList set{"set", "iap", "killed", "k", "int", "2"};
        const QStringList remove{"remove", "iap", "killed"};
        QTest::newRow("set, before the commit") << QByteArray("before-commit") << set << 1;
        QTest::newRow("set, after the commit") << QByteArray("after-commit") << set << 2;
        QTest::newRow("unset, after the commit") << QByteArray("after-commit") << QStringList{"unset", "iap", "killed", "k"} << -1;
        QTest::newRow("remove, before the commit") << QByteArray("before-commit") << remove << 1;
        QTest::newRow("remove, after the commit") << QByteArray("after-commit") << remove << -1;
    }

    void writerKilledAtEachPoint()
    {
        QFETCH(QByteArray, point);
        QFETCH(QStringList, write);
        QFETCH(int, expected);
        QVERIFY(tool({"set", "iap", "killed", "k", "int", "1"}));
        net_prefs_handle* reader = net_prefs_open(NET_PREFS_TYPE_IAP, "killed");
        const auto closeReader = qScopeGuard([reader] { net_prefs_close(reader); });
        QList<int> seen;
        QVERIFY(net_prefs_add_notify(reader, &record, &seen));
        // More than once: a reader that has read before answers from its
        // cache, unless it learns of a commit.
        QCOMPARE(intValue(reader, "k"), 1);
        QCOMPARE(intValue(reader, "k"), 1);

        qputenv("NETPREFS_STOP_AT", point);
        QScopedPointer<QProcess> writer(startTool(write, QStringLiteral(NETPREFS_FAULTY_TOOL)));
        qunsetenv("NETPREFS_STOP_AT");
        QByteArray output;
        while (!output.contains("stopped at " + point) && writer->waitForReadyRead(30000))
            output += writer->readAllStandardOutput();
        QVERIFY(output.contains("stopped at " + point));
        writer->kill();
        QVERIFY(writer->waitForFinished(10000));

        QCOMPARE(intValue(reader, "k"), expected);
        QCOMPARE(toolGet("killed"), expected < 0 ? QByteArray("none") : "int " + QByteArray::number(expected));
        QVERIFY(intact(database));
        // The next write goes through, and is seen and announced.
        QVERIFY(tool({"set", "iap", "killed", "k", "int", "5"}));
        QCOMPARE(intValue(reader, "k"), 5);
        QTRY_COMPARE(seen.value(seen.size() - 1), 5);
    }

    // Whatever stands at "<database>-notify", no reader crashes, values stay
    // right, and a file that is not the store's own is left alone.
    void tamperedNotifyFile_data()
    {
        QTest::addColumn<QString>("tamper");
        for (const char* tamper : {"truncated", "a link to a file of ours", "a dangling link",
                                   "another user's", "a fifo", "unextendable"})
            QTest::newRow(tamper) << QString::fromLatin1(tamper);
    }

    void tamperedNotifyFile()
    {
        QFETCH(QString, tamper);
        const QString id = QStringLiteral("tampered-%1").arg(QTest::currentDataTag());
        const QString notify = database + QStringLiteral("-notify");
        const QString victim = dir.filePath(id);
        const QByteArray content("not the store's own file\n");
        const auto writeFile = [&](const QString& name) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
        };
        QVERIFY(tool({"set", "iap", id, "k", "int", "1"}));
        net_prefs_handle* reader = net_prefs_open(NET_PREFS_TYPE_IAP, id.toUtf8().constData());
        const auto closeReader = qScopeGuard([reader] { net_prefs_close(reader); });
        QList<int> seen;
        QVERIFY(net_prefs_add_notify(reader, &record, &seen));
        // More than once: a reader that has read before answers from its
        // cache, unless it learns of a commit.
        QCOMPARE(intValue(reader, "k"), 1);
        QCOMPARE(intValue(reader, "k"), 1);

        // Truncated in place, under the running reader, or something else put there.
        const bool inPlace = tamper == "truncated" || tamper == "unextendable";
        QVERIFY(inPlace ? QFile::resize(notify, 0) : QFile::remove(notify) || mode(notify) < 0);
        if (tamper == "a link to a file of ours")
            QVERIFY(writeFile(victim) && QFile::link(victim, notify));
        if (tamper == "a dangling link")
            QVERIFY(QFile::link(victim, notify));
        if (tamper == "a fifo")
            QCOMPARE(mkfifo(QFile::encodeName(notify).constData(), 0600), 0);
        if (tamper == "another user's") {
            QVERIFY(writeFile(notify));
            if (geteuid() != 0 || chown(QFile::encodeName(notify).constData(), 65534, 65534) != 0)
                QSKIP("needs root, to give the file away");
        }

        // A running reader, a writer, and a fresh reader in a process of its own.
        QCOMPARE(intValue(reader, "k"), 1);
        QVERIFY(tool({"set", "iap", id, "k", "int", "2"}));
        QCOMPARE(intValue(reader, "k"), 2);
        QProcess fresh;
        fresh.start("sh", {"-c", (tamper == "unextendable" ? "ulimit -f 0; " : "") + QStringLiteral("exec \"$0\" --db \"$1\" get iap \"$2\" k"),
                           QStringLiteral(NETPREFS_TOOL), database, id});
        QVERIFY(fresh.waitForFinished(30000));
        QCOMPARE(fresh.exitStatus(), QProcess::NormalExit);
        QCOMPARE(fresh.readAllStandardOutput(), QByteArray("int 2\n"));

        if (tamper == "a link to a file of ours" || tamper == "another user's") {
            QFile file(tamper == "another user's" ? notify : victim);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
        QVERIFY(tamper != "a dangling link" || mode(victim) < 0);
        QVERIFY(QFile::remove(notify) || mode(notify) < 0);
        // With the file back in order, changes are announced again.
        QVERIFY(tool({"set", "iap", id, "k", "int", "3"}));
        QTRY_VERIFY(seen.contains(3));
    }

    // The command line around the commands: a mistake in the call is not a
    // store that failed.
    void commandLine_data()
    {
        addCommandLineColumns();
        QTest::newRow("version") << QStringList{"--version"} << 0 << "^netprefs \\d+\\.\\d+\\.\\d+\n$";
        QTest::newRow("help") << QStringList{"--db", database, "--help"} << 0 << "^usage: netprefs (.|\n)*fill TYPE ID";
        QTest::newRow("-h") << QStringList{"-h", "ids"} << 0 << "^usage: netprefs";
        QTest::newRow("no command") << QStringList{"--db", database} << 2 << "missing command";
        QTest::newRow("unknown option") << QStringList{"--database", database, "ids", "iap"} << 2 << "unknown option '--database'";
        QTest::newRow("no value") << QStringList{"--db"} << 2 << "missing value after '--db'";
        QTest::newRow("empty value") << QStringList{"--db=", "ids", "iap"} << 2 << "--db takes a path, not ''";
        QTest::newRow("unknown command") << QStringList{"list", "iap"} << 2 << "unknown command 'list'";
        QTest::newRow("too few words") << QStringList{"get", "iap", "x"} << 2 << "'get' takes TYPE ID KEY";
        QTest::newRow("too many words") << QStringList{"remove", "iap", "x", "k"} << 2 << "'remove' takes TYPE ID";
        QTest::newRow("no store") << QStringList{"--db=" + dir.path(), "ids", "iap"} << 1 << "cannot read the store";
        QTest::newRow("store unopened") << QStringList{"--db", dir.path(), "set", "iap", "x", "k", "int", "1"} << 1 << "cannot open";
    }

    void commandLine() { checkCommandLine(QStringLiteral(NETPREFS_TOOL)); }

    // The tool takes only well-formed words; a bad one is named, status 2,
    // and nothing is written.
    void toolParsesStrictly_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after "set iap parsed k", unless a command
        QTest::addColumn<QByteArray>("expected");   // what get prints then, or the bad word quoted
        const auto good = [](const char* name, const QStringList& arguments, const char* stored) {
            QTest::newRow(name) << arguments << QByteArray(stored);
        };
        const auto bad = [](const QStringList& arguments, const char* word) {
            QTest::newRow(word) << arguments << '\'' + QByteArray(word) + '\'';
        };
        good("int", {"int", "-2147483648"}, "int -2147483648");
        good("double", {"double", "-1.5e3"}, "double -1500");
        good("bool", {"bool", "1"}, "bool true");
        good("bytes", {"bytes", "00fFa0"}, "bytes 00ffa0");
        good("string", {"string", " 12 x"}, "string  12 x");
        good("ints", {"ints", "1", "-2"}, "list 2\n  int 1\n  int -2");
        for (const char* word : {"99999999999", "12abc", " 5"})
            bad({"int", word}, word);
        for (const char* word : {"nan", "1e999", "0x10"})
            bad({"double", word}, word);
        bad({"ints", "1", "x", "3"}, "x");
        bad({"bytes", "abc"}, "abc");
        bad({"integer", "5"}, "integer");
        bad({"string", "1", "2"}, "string");
        bad({"get", "1x", "id", "k"}, "1x");
        bad({"ids", "wlan"}, "wlan");
        bad({"fill", "iap", "parsed", "k", "-1"}, "-1");
    }

    void toolParsesStrictly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        const bool good = !expected.startsWith('\'');
        QVERIFY(tool({"set", "iap", "parsed", "k", "string", "before"}));
        const bool command = QStringList{"get", "ids", "fill"}.contains(arguments.first());
        QByteArray errors;
        QCOMPARE(run(command ? arguments : QStringList{"set", "iap", "parsed", "k"} + arguments, nullptr, &errors), good ? 0 : 2);
        QVERIFY2(good || errors.contains(expected), errors.constData());
        QCOMPARE(toolGet("parsed"), good ? expected : QByteArray("string before"));
    }
};

QTEST_GUILESS_MAIN(TestNetPrefs)
#include "tst_netprefs.moc"

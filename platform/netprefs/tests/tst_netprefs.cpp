// The settings store through its C interface, with the netprefs tool as the
// other process: null handles, file modes, notification rules, concurrent
// writers, writers killed at each point of a write, a tampered notify file,
// hostile rows and the tool's argument checks.
#include "netprefs.h"

#include <QDir>
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

struct Seen
{
    QStringList keys;
    QList<int> values; // -1 for none
};

void record(int, const char*, const char* key, const net_prefs_value* value, void* seen)
{
    auto* s = static_cast<Seen*>(seen);
    s->keys.append(QString::fromUtf8(key));
    s->values.append(value && value->type == NET_PREFS_VALUE_INT ? value->value.int_value : -1);
}

int mode(const QString& path)
{
    struct stat info;
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

bool exists(const QString& path)
{
    struct stat info;
    return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

int intValue(net_prefs_handle* handle, const QByteArray& key)
{
    net_prefs_value* value = net_prefs_get(handle, key.constData());
    const int result = value && value->type == NET_PREFS_VALUE_INT ? value->value.int_value : -1;
    net_prefs_value_destroy(value);
    return result;
}

size_t heapInUse()
{
#ifdef HEAP_FROM_SANITIZER
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
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

// How a test tampers with "<database>-notify".
enum class Tamper { Truncate, Replace, SymlinkToOurFile, DanglingSymlink, OtherOwner, Fifo, Unextendable };

} // namespace
Q_DECLARE_METATYPE(Tamper)

class TestNetPrefs : public QObject
{
    Q_OBJECT

private:
    // tmpfs where there is one: the suite makes thousands of durable writes.
    QTemporaryDir dir{QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tst_netprefs-XXXXXX") : QString()};
    QString database;

    QProcess* startTool(const QStringList& arguments, const char* program = NETPREFS_TOOL)
    {
        auto* process = new QProcess(this);
        // Another database when the arguments name one.
        process->start(QString::fromUtf8(program),
                       arguments.value(0) == QLatin1String("--db") ? arguments : QStringList{"--db", database} + arguments);
        return process;
    }

    // The tool's exit code (-1 when it crashed) and its standard output.
    int run(const QStringList& arguments, QByteArray* output = nullptr, QByteArray* errors = nullptr)
    {
        QScopedPointer<QProcess> process(startTool(arguments));
        const bool finished = process->waitForFinished(120000);
        if (output)
            *output = process->readAllStandardOutput();
        if (errors)
            *errors = process->readAllStandardError();
        return finished && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    }

    bool tool(const QStringList& arguments) { return run(arguments) == 0; }

    QByteArray toolGet(const QString& id, const QString& key)
    {
        QByteArray output;
        return run({"get", "iap", id, key}, &output) == 0 ? output.trimmed() : QByteArray("failed");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        database = dir.filePath(QStringLiteral("private/store/netprefs.db"));
        qputenv("NETPREFS_DB", database.toUtf8());
    }

    void nullHandlesAreAnsweredWithFailures()
    {
        net_prefs_value** values = reinterpret_cast<net_prefs_value**>(this);
        QVERIFY(!net_prefs_get(nullptr, "k"));
        QVERIFY(net_prefs_get_list(nullptr, "k", &values) < 0);
        QVERIFY(!values);
        QVERIFY(net_prefs_set_bool(nullptr, "k", 1) < 0 && net_prefs_set_int(nullptr, "k", 1) < 0);
        QVERIFY(net_prefs_set_double(nullptr, "k", 1) < 0 && net_prefs_set_string(nullptr, "k", "v") < 0);
        QVERIFY(net_prefs_set_byte_array(nullptr, "k", "v", 1) < 0);
        QVERIFY(net_prefs_set_list(nullptr, "k", nullptr, 0, NET_PREFS_VALUE_STRING) < 0);
        QVERIFY(net_prefs_unset(nullptr, "k") < 0 && net_prefs_remove(nullptr) != 0);
        QVERIFY(!net_prefs_add_notify(nullptr, &record, nullptr) && !net_prefs_list_keys(nullptr));
        net_prefs_del_notify(nullptr);
        net_prefs_close(nullptr);
        net_prefs_value_destroy(nullptr);
        net_prefs_values_destroy(nullptr);
        // A record type no caller may pass.
        QVERIFY(!net_prefs_open(99, "x") && !net_prefs_id_exists(99, "x") && !net_prefs_list_ids(99));

        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "args");
        QVERIFY(handle);
        QVERIFY(net_prefs_set_string(handle, nullptr, "v") < 0);
        QVERIFY(net_prefs_set_string(handle, "k", nullptr) < 0);
        QVERIFY(net_prefs_set_byte_array(handle, "k", nullptr, 3) < 0);
        QVERIFY(net_prefs_set_list(handle, "k", nullptr, 2, NET_PREFS_VALUE_INT) < 0);
        QVERIFY(net_prefs_set_list(handle, "k", "x", 1, 77) < 0);
        QCOMPARE(net_prefs_get_list(handle, "k", &values), NET_PREFS_ERROR_NO_VALUE);
        QCOMPARE(net_prefs_set_int(handle, "k", 1), NET_PREFS_OK);
        QCOMPARE(net_prefs_get_list(handle, "k", &values), NET_PREFS_ERROR_NOT_LIST);
        net_prefs_close(handle);
    }

    void theStoreIsTheOwnersOnly()
    {
        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "modes");
        QVERIFY(handle);
        QCOMPARE(net_prefs_set_string(handle, "key", "secret"), NET_PREFS_OK);
        QCOMPARE(mode(QFileInfo(database).path()), 0700);
        QCOMPARE(mode(database), 0600);
        QCOMPARE(mode(database + QStringLiteral("-wal")), 0600);
        QCOMPARE(mode(database + QStringLiteral("-notify")), 0600);
        net_prefs_close(handle);
    }

    // Reads create nothing; a link at the database path is never followed to
    // create its target.
    void readsCreateNothing()
    {
        const QString fresh = dir.filePath(QStringLiteral("fresh/sub/netprefs.db"));
        QByteArray output;
        QCOMPARE(run({"--db", fresh, "get", "iap", "x", "k"}, &output), 0);
        QCOMPARE(output, QByteArray("none\n"));
        QCOMPARE(run({"--db", fresh, "keys", "iap", "x"}, &output), 0);
        QCOMPARE(run({"--db", fresh, "ids", "iap"}, &output), 0);
        QVERIFY(output.isEmpty());
        QVERIFY(!exists(dir.filePath(QStringLiteral("fresh"))));

        const QString link = dir.filePath(QStringLiteral("link.db"));
        const QString target = dir.filePath(QStringLiteral("elsewhere.db"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(run({"--db", link, "set", "iap", "x", "k", "int", "1"}) != 0);
        QVERIFY(run({"--db", link, "get", "iap", "x", "k"}) != -1);
        QVERIFY(!exists(target));
    }

    void notificationsComeFromTheMainLoopAndStopWithDelNotify()
    {
        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "notify");
        Seen seen;
        QVERIFY(net_prefs_add_notify(handle, &record, &seen));
        QCOMPARE(net_prefs_set_int(handle, "a", 1), NET_PREFS_OK);
        QCOMPARE(net_prefs_unset(handle, "a"), NET_PREFS_OK);
        QVERIFY(seen.keys.isEmpty());
        QTRY_COMPARE(seen.keys, (QStringList{"a", "a"}));
        // The value passed is the one current at delivery; none once unset.
        QCOMPARE(seen.values.last(), -1);
        QVERIFY(tool({"set", "iap", "notify", "b", "int", "2"}));
        QTRY_COMPARE(seen.keys, (QStringList{"a", "a", "b"}));
        QCOMPARE(seen.values.last(), 2);

        // A change still queued when del_notify returns is not delivered.
        QCOMPARE(net_prefs_set_int(handle, "b", 2), NET_PREFS_OK);
        QCOMPARE(intValue(handle, "b"), 2);
        net_prefs_del_notify(handle);
        QVERIFY(tool({"set", "iap", "notify", "c", "int", "3"}));
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(intValue(handle, "c"), 3);
        QCOMPARE(seen.keys.size(), 3);
        net_prefs_close(handle);
    }

    void aCallbackMayCloseItsOwnHandle()
    {
        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "closing");
        static net_prefs_handle* victim = nullptr;
        static int calls = 0;
        victim = handle;
        calls = 0;
        QVERIFY(net_prefs_add_notify(handle,
                                     [](int, const char*, const char*, const net_prefs_value*, void*) {
                                         ++calls;
                                         net_prefs_close(victim);
                                     },
                                     nullptr));
        QVERIFY(tool({"set", "iap", "closing", "x", "ints", "1", "2"}));
        QVERIFY(tool({"set", "iap", "closing", "y", "int", "1"}));
        QTRY_COMPARE(calls, 1);
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(calls, 1);
    }

    // A reader opened on a fresh database, whose change log was empty, sees
    // what another process wrote even after that part of the log is pruned.
    void readsSeeWhatOthersCommitted()
    {
        const QString saved = database;
        database = dir.filePath(QStringLiteral("pruned/netprefs.db"));
        qputenv("NETPREFS_DB", database.toUtf8());
        const auto restore = qScopeGuard([&] {
            database = saved;
            qputenv("NETPREFS_DB", saved.toUtf8());
        });
        QVERIFY(tool({"set", "iap", "other", "k", "int", "0"}));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(database).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "DELETE FROM changes", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);

        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "cached");
        QCOMPARE(intValue(handle, "x"), -1);
        QVERIFY(tool({"set", "iap", "cached", "x", "int", "3"}));
        QVERIFY(tool({"fill", "iap", "filler", "k", "5200"}));
        QCOMPARE(intValue(handle, "x"), 3);
        QVERIFY(tool({"set", "iap", "cached", "x", "int", "4"}));
        QCOMPARE(intValue(handle, "x"), 4);
        net_prefs_close(handle);
    }

    // A process that only writes keeps no bookkeeping that grows with its writes.
    void writingOnlyNeedsNoGrowingMemory()
    {
        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "writer");
        for (int i = 0; i < 5200; ++i) // until the change log is pruned
            QCOMPARE(net_prefs_set_int(handle, "k", i), NET_PREFS_OK);
        const size_t before = heapInUse();
        for (int i = 0; i < 8000; ++i)
            QCOMPARE(net_prefs_set_int(handle, "k", i), NET_PREFS_OK);
        QVERIFY2(heapInUse() < before + 128 * 1024, qPrintable(QString::number(heapInUse() - before)));
        net_prefs_close(handle);
    }

    void concurrentWritersLoseNothing()
    {
        QScopedPointer<QProcess> first(startTool({"fill", "iap", "race", "first-", "1000"}));
        QScopedPointer<QProcess> second(startTool({"fill", "iap", "race", "second-", "1000"}));
        QVERIFY(first->waitForFinished(300000) && second->waitForFinished(300000));
        QCOMPARE(first->exitCode(), 0);
        QCOMPARE(second->exitCode(), 0);

        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "race");
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(intValue(handle, "first-" + QByteArray::number(i)), i);
            QCOMPARE(intValue(handle, "second-" + QByteArray::number(i)), i);
        }
        net_prefs_close(handle);
    }

    // A writer killed at a point of its write: every reader's next read sees
    // exactly what was committed, and the database stays sound.
    void writerKilledAtEachPoint_data()
    {
        QTest::addColumn<QByteArray>("point");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<int>("expected"); // -1 for none
        QTest::newRow("set, before the commit") << QByteArray("before-commit") << QStringList{"set", "iap", "killed", "k", "int", "2"} << 1;
        QTest::newRow("set, after the commit") << QByteArray("after-commit") << QStringList{"set", "iap", "killed", "k", "int", "2"} << 2;
        QTest::newRow("unset, after the commit") << QByteArray("after-commit") << QStringList{"unset", "iap", "killed", "k"} << -1;
        QTest::newRow("remove, before the commit") << QByteArray("before-commit") << QStringList{"remove", "iap", "killed"} << 1;
        QTest::newRow("remove, after the commit") << QByteArray("after-commit") << QStringList{"remove", "iap", "killed"} << -1;
    }

    void writerKilledAtEachPoint()
    {
        QFETCH(QByteArray, point);
        QFETCH(QStringList, write);
        QFETCH(int, expected);
        QVERIFY(tool({"set", "iap", "killed", "k", "int", "1"}));
        net_prefs_handle* reader = net_prefs_open(NET_PREFS_TYPE_IAP, "killed");
        Seen seen;
        QVERIFY(net_prefs_add_notify(reader, &record, &seen));
        QCOMPARE(intValue(reader, "k"), 1);

        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NETPREFS_STOP_AT"), QString::fromLatin1(point));
        writer.setProcessEnvironment(environment);
        writer.start(QStringLiteral(NETPREFS_FAULTY_TOOL), QStringList{"--db", database} + write);
        QByteArray output;
        while (!output.contains("stopped at " + point) && writer.waitForReadyRead(30000))
            output += writer.readAllStandardOutput();
        QVERIFY(output.contains("stopped at " + point));
        writer.kill();
        QVERIFY(writer.waitForFinished(10000));

        QCOMPARE(intValue(reader, "k"), expected);
        QCOMPARE(toolGet("killed", "k"), expected < 0 ? QByteArray("none") : "int " + QByteArray::number(expected));
        QVERIFY(intact(database));
        // The next write goes through, and is seen and announced.
        QVERIFY(tool({"set", "iap", "killed", "k", "int", "5"}));
        QCOMPARE(intValue(reader, "k"), 5);
        QTRY_COMPARE(seen.values.isEmpty() ? 0 : seen.values.last(), 5);
        net_prefs_close(reader);
    }

    // Whatever stands at "<database>-notify", no reader crashes, values stay
    // right, and a file that is not the store's own is left alone.
    void tamperedNotifyFile_data()
    {
        QTest::addColumn<Tamper>("tamper");
        QTest::newRow("truncated") << Tamper::Truncate;
        QTest::newRow("replaced by another file") << Tamper::Replace;
        QTest::newRow("a link to a file of ours") << Tamper::SymlinkToOurFile;
        QTest::newRow("a dangling link") << Tamper::DanglingSymlink;
        QTest::newRow("owned by another user") << Tamper::OtherOwner;
        QTest::newRow("a fifo") << Tamper::Fifo;
        QTest::newRow("empty, and files cannot grow") << Tamper::Unextendable;
    }

    void tamperedNotifyFile()
    {
        QFETCH(Tamper, tamper);
        static int round = 0;
        const QByteArray id = "tampered" + QByteArray::number(++round);
        const QString notify = database + QStringLiteral("-notify");
        const QString victim = dir.filePath(QStringLiteral("victim-%1").arg(round));
        const QByteArray content("not the store's own file\n");
        QVERIFY(tool({"set", "iap", id, "k", "int", "1"}));
        net_prefs_handle* reader = net_prefs_open(NET_PREFS_TYPE_IAP, id.constData());
        Seen seen;
        QVERIFY(net_prefs_add_notify(reader, &record, &seen));
        QCOMPARE(intValue(reader, "k"), 1);

        const QByteArray path = QFile::encodeName(notify);
        auto writeFile = [&](const QString& name) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
        };
        QString prefix; // for the tool run as a fresh reader
        if (tamper != Tamper::Truncate && tamper != Tamper::Unextendable)
            QVERIFY(QFile::remove(notify) || !exists(notify));
        switch (tamper) {
        case Tamper::Truncate:
        case Tamper::Unextendable:
            QVERIFY(QFile::resize(notify, 0)); // in place, under the running reader
            if (tamper == Tamper::Unextendable)
                prefix = QStringLiteral("ulimit -f 0; ");
            break;
        case Tamper::Replace:
            QVERIFY(writeFile(victim) && QFile::rename(victim, notify));
            break;
        case Tamper::SymlinkToOurFile:
            QVERIFY(writeFile(victim) && QFile::link(victim, notify));
            break;
        case Tamper::DanglingSymlink:
            QVERIFY(QFile::link(victim, notify));
            break;
        case Tamper::OtherOwner:
            QVERIFY(writeFile(notify));
            if (geteuid() != 0 || chown(path.constData(), 65534, 65534) != 0)
                QSKIP("needs root, to give the file away");
            break;
        case Tamper::Fifo:
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
            break;
        }

        // A running reader, a writer, and a fresh reader in a process of its own.
        QCOMPARE(intValue(reader, "k"), 1);
        QVERIFY(tool({"set", "iap", id, "k", "int", "2"}));
        QCOMPARE(intValue(reader, "k"), 2);
        QProcess fresh;
        fresh.start(QStringLiteral("sh"), {"-c", prefix + QStringLiteral("exec \"$0\" --db \"$1\" get iap \"$2\" k"),
                                            QStringLiteral(NETPREFS_TOOL), database, QString::fromLatin1(id)});
        QVERIFY(fresh.waitForFinished(30000));
        QCOMPARE(fresh.exitStatus(), QProcess::NormalExit);
        QCOMPARE(fresh.readAllStandardOutput(), QByteArray("int 2\n"));

        switch (tamper) {
        case Tamper::SymlinkToOurFile:
        case Tamper::OtherOwner: {
            QFile file(tamper == Tamper::OtherOwner ? notify : victim);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
            break;
        }
        case Tamper::DanglingSymlink:
            QVERIFY(!exists(victim));
            break;
        default:
            break;
        }
        QVERIFY(QFile::remove(notify) || !exists(notify));
        // With the file back in order, changes are announced again.
        QVERIFY(tool({"set", "iap", id, "k", "int", "3"}));
        QTRY_VERIFY(seen.values.contains(3));
        QCOMPARE(intValue(reader, "k"), 3);
        net_prefs_close(reader);
    }

    // The tool takes only well-formed values; a bad word is named, and
    // nothing is written.
    void toolParsesValuesStrictly_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after "set iap parsed k"
        QTest::addColumn<bool>("good");
        QTest::addColumn<QByteArray>("expected");   // what get prints, or the bad word
        auto good = [](const char* name, const QStringList& arguments, const char* stored) {
            QTest::newRow(name) << arguments << true << QByteArray(stored);
        };
        auto bad = [](const char* name, const QStringList& arguments, const char* word) {
            QTest::newRow(name) << arguments << false << '"' + QByteArray(word) + '"';
        };
        good("int", {"int", "-2147483648"}, "int -2147483648");
        good("int, largest", {"int", "+2147483647"}, "int 2147483647");
        good("double", {"double", "-1.5e3"}, "double -1500");
        good("bool word", {"bool", "false"}, "bool false");
        good("bool digit", {"bool", "1"}, "bool true");
        good("bytes", {"bytes", "00fFa0"}, "bytes 00ffa0");
        good("no bytes", {"bytes", ""}, "bytes");
        good("string", {"string", " 12 x"}, "string  12 x");
        good("ints", {"ints", "1", "-2"}, "list 2\n  int 1\n  int -2");
        good("no ints", {"ints"}, "list 0");

        bad("int too large", {"int", "99999999999"}, "99999999999");
        bad("int too small", {"int", "-2147483649"}, "-2147483649");
        bad("int letters", {"int", "abc"}, "abc");
        bad("int tail", {"int", "12abc"}, "12abc");
        bad("int empty", {"int", ""}, "");
        bad("int space", {"int", " 5"}, " 5");
        bad("int in a list", {"ints", "1", "x", "3"}, "x");
        bad("double tail", {"double", "1.5x"}, "1.5x");
        bad("double nan", {"double", "nan"}, "nan");
        bad("double infinite", {"double", "-inf"}, "-inf");
        bad("double overflow", {"double", "1e999"}, "1e999");
        bad("double in a list", {"doubles", "1", "2,5"}, "2,5");
        bad("bool", {"bool", "yes"}, "yes");
        bad("bool in a list", {"bools", "true", "TRUE"}, "TRUE");
        bad("bytes odd", {"bytes", "abc"}, "abc");
        bad("bytes not hex", {"bytes", "0g"}, "0g");
        bad("bytes sign", {"bytes", "+f"}, "+f");
        bad("unknown kind", {"integer", "5"}, "integer");
        bad("two values", {"int", "1", "2"}, "int");
    }

    void toolParsesValuesStrictly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, good);
        QFETCH(QByteArray, expected);
        QVERIFY(tool({"set", "iap", "parsed", "k", "string", "before"}));
        QByteArray errors;
        const int status = run(QStringList{"set", "iap", "parsed", "k"} + arguments, nullptr, &errors);
        QByteArray stored;
        QCOMPARE(run({"get", "iap", "parsed", "k"}, &stored), 0);
        QCOMPARE(status, good ? 0 : 2);
        QVERIFY2(good || errors.contains(expected), errors.constData());
        QCOMPARE(stored.trimmed(), good ? expected : QByteArray("string before"));
    }

    void toolParsesItsOtherArgumentsStrictly_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("word");
        QTest::newRow("type with a tail") << QStringList{"get", "1x", "id", "k"} << QByteArray("1x");
        QTest::newRow("unknown type") << QStringList{"ids", "wlan"} << QByteArray("wlan");
        QTest::newRow("count with a tail") << QStringList{"fill", "iap", "id", "k", "3x"} << QByteArray("3x");
        QTest::newRow("negative count") << QStringList{"fill", "iap", "id", "k", "-1"} << QByteArray("-1");
    }

    void toolParsesItsOtherArgumentsStrictly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, word);
        QByteArray errors;
        QCOMPARE(run(arguments, nullptr, &errors), 2);
        QVERIFY2(errors.contains('"' + word + '"'), errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestNetPrefs)
#include "tst_netprefs.moc"

// The settings store through its C interface, with the netprefs tool as the
// other process: null handles, file modes, notification rules, concurrent
// writers and a writer killed mid-way.
#include "netprefs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#include <sys/stat.h>

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

int intValue(net_prefs_handle* handle, const QByteArray& key)
{
    net_prefs_value* value = net_prefs_get(handle, key.constData());
    const int result = value && value->type == NET_PREFS_VALUE_INT ? value->value.int_value : -1;
    net_prefs_value_destroy(value);
    return result;
}

} // namespace

class TestNetPrefs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString database;

    QProcess* startTool(const QStringList& arguments)
    {
        auto* process = new QProcess(this);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(NETPREFS_TOOL), QStringList{QStringLiteral("--db"), database} + arguments);
        return process;
    }

    bool tool(const QStringList& arguments)
    {
        QScopedPointer<QProcess> process(startTool(arguments));
        return process->waitForFinished(120000) && process->exitStatus() == QProcess::NormalExit
            && process->exitCode() == 0;
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

        // A change still queued when del_notify returns is not delivered.
        QCOMPARE(net_prefs_set_int(handle, "b", 2), NET_PREFS_OK);
        QCOMPARE(intValue(handle, "b"), 2); // reads the change log
        net_prefs_del_notify(handle);
        QVERIFY(tool({"set", "iap", "notify", "c", "int", "3"}));
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(intValue(handle, "c"), 3);
        QCOMPARE(seen.keys.size(), 2);
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

    void readsSeeWhatOthersCommitted()
    {
        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "cached");
        QCOMPARE(net_prefs_set_int(handle, "x", 1), NET_PREFS_OK);
        QCOMPARE(intValue(handle, "x"), 1);
        QVERIFY(tool({"set", "iap", "cached", "x", "int", "2"}));
        QCOMPARE(intValue(handle, "x"), 2);
        // More changes than the log keeps: nothing cached may survive.
        QVERIFY(tool({"set", "iap", "cached", "x", "int", "3"}));
        QVERIFY(tool({"fill", "iap", "filler", "k", "6000"}));
        QCOMPARE(intValue(handle, "x"), 3);
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

    void aWriterKilledMidwayLeavesEveryCommittedValue()
    {
        QScopedPointer<QProcess> writer(startTool({"fill", "iap", "killed", "k", "1000000"}));
        QByteArray output;
        while (output.count('\n') < 300 && writer->waitForReadyRead(60000))
            output += writer->readAllStandardOutput();
        writer->kill();
        writer->waitForFinished(10000);
        output += writer->readAllStandardOutput();
        const QList<QByteArray> lines = output.trimmed().split('\n');
        const int last = lines.last().toInt();
        QVERIFY(last >= 299);

        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(database).constData(), &db), SQLITE_OK);
        sqlite3_stmt* check = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
        QCOMPARE(sqlite3_step(check), SQLITE_ROW);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))), QByteArray("ok"));
        sqlite3_finalize(check);
        sqlite3_close(db);

        net_prefs_handle* handle = net_prefs_open(NET_PREFS_TYPE_IAP, "killed");
        for (int i = 0; i <= last; ++i)
            QCOMPARE(intValue(handle, "k" + QByteArray::number(i)), i);
        net_prefs_close(handle);
    }
};

QTEST_GUILESS_MAIN(TestNetPrefs)
#include "tst_netprefs.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// devmoded as any client sees it on a bus of the test's own, and its state
// file.
#include "commandlinetest.h"
#include "daemontest.h"

#include <QDBusMessage>
#include <QDir>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Service = QStringLiteral("com.zelkor.devmode");
const QString RequestPath = QStringLiteral("/com/zelkor/devmode/request");
const QString BasePath = QStringLiteral("/com/zelkor/devmode");

QDBusMessage call(const QString& path, const QString& member, const QList<QVariant>& args = {},
                  const QString& interface = QStringLiteral("com.zelkor.devmode.request"))
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, member);
    message.setArguments(args);
    return QDBusConnection::systemBus().call(message);
}

uint radioStates() { return call(RequestPath, QStringLiteral("get_radio_states")).arguments().value(0).toUInt(); }

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDevmoded : public QObject
{
    Q_OBJECT

    PrivateBus bus;
    QTemporaryDir scratch;
    const QString stateFile = scratch.filePath(QStringLiteral("radio-states"));
    DaemonProcess daemon{QStringLiteral(DEVMODED_PATH), Service};

    bool startDaemon(const QStringList& arguments = {}) { return daemon.start(QStringList{"--state-file", stateFile} + arguments); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(bus.start());
        bus.serveAsDefault();
    }

    void cleanup()
    {
        QCOMPARE(daemon.stop(), 0);
        QFile::remove(stateFile);
    }

    // Each request changes the radios its mask names, and what it changed is
    // in the state file for the next start.
    void changeRequests()
    {
        QVERIFY(startDaemon({QStringLiteral("--radio-states"), QStringLiteral("0x0d")}));
        for (const QList<QVariant>& statesAndMask : {QList<QVariant>{0x02u, 0x03u}, {0xffu, 0xe0u}, {0u, 0u}})
            QCOMPARE(call(RequestPath, "req_radio_states_change", statesAndMask).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(radioStates(), 0x0eu);
        // SIGINT ends it as cleanly as SIGTERM.
        ::kill(pid_t(daemon.processId()), SIGINT);
        QCOMPARE(daemon.stop(), 0);
        QVERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(Service));
        QVERIFY(daemon.log().contains(QStringLiteral("radio states 0x0d -> 0x0e (states 0x02, mask 0x03)")));

        QCOMPARE(contentOf(stateFile), QByteArray("# devmoded state\nradio_states=0xe\n"));
        QVERIFY(startDaemon());
        QCOMPARE(radioStates(), 0x0eu);
    }

    // A state file the daemon cannot use leaves every radio on. Anything but
    // a regular file is such a file: a FIFO used to hang the daemon at start.
    void stateFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<uint>("states");
        QTest::addColumn<QString>("warning");
        const QByteArray valid("radio_states=3\n");
        const QString damaged = QStringLiteral("damaged state file");
        QTest::newRow("written by hand") << "file" << QByteArray("# by hand\n\nradio_states = 12\n") << 12u << "";
        QTest::newRow("missing") << "none" << QByteArray() << 0x1fu << "no state file";
        QTest::newRow("out of range") << "file" << QByteArray("radio_states=0x20\n") << 0x1fu << damaged;
        QTest::newRow("oversized") << "file" << valid + QByteArray(5000, '#') << 0x1fu << damaged;
        QTest::newRow("FIFO") << "fifo" << QByteArray() << 0x1fu << damaged;
        QTest::newRow("directory") << "directory" << QByteArray() << 0x1fu << damaged;
        QTest::newRow("link to a good file") << "link" << valid << 0x1fu << damaged;
    }

    void stateFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(uint, states);
        QFETCH(QString, warning);
        QFile file(kind == "link" ? stateFile + ".target" : stateFile);
        QVERIFY(content.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
        file.close();
        QVERIFY(kind != "link" || QFile::link(file.fileName(), stateFile));
        QVERIFY(kind != "fifo" || ::mkfifo(QFile::encodeName(stateFile).constData(), 0600) == 0);
        QVERIFY(kind != "directory" || QDir().mkpath(stateFile));
        QVERIFY(startDaemon());
        QCOMPARE(radioStates(), states);
        QCOMPARE(daemon.stop(), 0);
        QDir(stateFile).removeRecursively();
        const QString log = daemon.log();
        QVERIFY2(warning.isEmpty() ? !log.contains("warning: ") : log.contains("warning: " + warning), qPrintable(log));
    }

    // The daemon checks argument types by hand: a wrong call changes nothing.
    void wrongCallsAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");
        const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
        QTest::newRow("signed states") << RequestPath << "req_radio_states_change" << QVariantList{1, 1u} << invalidArgs;
        QTest::newRow("lock mode as a number") << BasePath << "req_tklock_mode_change" << QVariantList{1u} << invalidArgs;
        QTest::newRow("unknown lock mode") << BasePath << "req_tklock_mode_change" << QVariantList{"ajar"} << "com.zelkor.devmode.Error.UnknownMode";
        QTest::newRow("display with an argument") << BasePath << "req_display_state_on" << QVariantList{true} << invalidArgs;
        QTest::newRow("no such object") << BasePath + "/nothing" << "get_radio_states" << QVariantList() << "org.freedesktop.DBus.Error.UnknownObject";
    }

    void wrongCallsAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, member);
        QFETCH(QVariantList, args);
        QFETCH(QString, error);
        QVERIFY(startDaemon({QStringLiteral("--tklock"), QStringLiteral("locked")}));
        QCOMPARE(call(path, member, args).errorName(), error);
        const QDBusMessage mode = call(BasePath + "/inspect", "get_tklock_mode", {}, "com.zelkor.devmode.inspect");
        QCOMPARE(mode.arguments().value(0).toString(), QStringLiteral("locked"));
        QCOMPARE(radioStates(), 0x1fu);
    }

    // The refused second instance leaves the first one's state file alone.
    void oneInstancePerBusAndNoneWithoutIt()
    {
        PrivateBus own;
        QVERIFY(own.start());
        const QStringList arguments{"--address", own.address, "--state-file", stateFile, "--radio-states"};
        checkOneInstanceAndNoneWithoutBus(own, QStringLiteral(DEVMODED_PATH), arguments + QStringList{"0x0d"},
                                          arguments + QStringList{"0x02"}, Service);
        QCOMPARE(contentOf(stateFile), QByteArray("# devmoded state\nradio_states=0xd\n"));
    }

    // Mistakes in the call are told apart from a daemon that cannot serve,
    // before the state file or a bus is touched.
    void commandLine_data()
    {
        addCommandLineColumns();
        const QStringList state{"--state-file", stateFile};
        QTest::newRow("version") << QStringList{"--version"} << 0 << "^devmoded \\d+\\.\\d+\\.\\d+\n$";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "^Usage: .*devmoded(.|\n)*--radio-states <word>";
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "^Usage: .*devmoded";
        QTest::newRow("unknown option") << QStringList{"--radio"} << 2 << "unknown option 'radio'";
        QTest::newRow("no value") << QStringList{"--state-file"} << 2 << "missing value after '--state-file'";
        QTest::newRow("bad word") << state + QStringList{"--radio-states", "0x99"} << 2 << "--radio-states .*'0x99'";
        QTest::newRow("bad mode") << QStringList{"--tklock", "sideways"} << 2 << "--tklock .*'sideways'";
        QTest::newRow("bad display") << QStringList{"--display", "dim"} << 2 << "--display .*'dim'";
        QTest::newRow("stray") << state + QStringList{"13"} << 2 << "unexpected argument '13'";
        QTest::newRow("two buses") << QStringList{"--session", "--system"} << 2 << "--session and --system";
        QTest::newRow("address and bus") << QStringList{"--system", "--address", bus.address} << 2 << "--system and --address";
        QTest::newRow("no bus") << state + QStringList{"--address", "unix:path=/nonexistent"} << 1 << "cannot connect to the bus: ";
        QTest::newRow("rfkill help") << QStringList{"--help"} << 0 << "--rfkill-device <path>(.|\n)*--rfkill-record-size <bytes>";
        QTest::newRow("record size") << QStringList{"--rfkill", "--rfkill-record-size", "7"} << 2 << "--rfkill-record-size .*'7'";
        QTest::newRow("record size alone") << QStringList{"--rfkill-record-size", "9"} << 2 << "--rfkill-record-size needs --rfkill";
        QTest::newRow("no device path") << QStringList{"--rfkill-device", ""} << 2 << "--rfkill-device takes a path";
        QTest::newRow("word and kernel") << QStringList{"--rfkill", "--radio-states", "3"} << 2 << "--radio-states and --rfkill exclude";
        QTest::newRow("device ends") << state + QStringList{"--rfkill-device", "/dev/null"} << 1 << "cannot read the radio switches at /dev/null: end of file";
        QTest::newRow("not a device") << state + QStringList{"--rfkill-device", "/"} << 1 << "cannot read the radio switches at /: Is a directory";
    }

    void commandLine()
    {
        checkCommandLine(QStringLiteral(DEVMODED_PATH));
        QVERIFY(!QFile::exists(stateFile) && !bus.isOwned(Service));
    }

    // On a bus as strict as a system bus, with the policy file installed:
    // root may own the daemon's name, and anyone may call it.
    void policy()
    {
        if (geteuid() != 0)
            QSKIP("the policy lets root own the name");
        PrivateBus strict;
        QVERIFY(strict.start(QStringLiteral(
            "<policy context=\"default\"><allow user=\"*\"/><deny own=\"*\"/><deny send_type=\"method_call\"/>"
            "<allow send_type=\"signal\"/><allow send_requested_reply=\"true\" send_type=\"method_return\"/>"
            "<allow send_requested_reply=\"true\" send_type=\"error\"/><allow receive_sender=\"*\"/>"
            "<allow send_destination=\"org.freedesktop.DBus\" send_interface=\"org.freedesktop.DBus\"/></policy>"
            "<includedir>" POLICY_DIR "</includedir>")));
        QVERIFY(!strict.connection().interface()->registerService(QStringLiteral("com.zelkor.other")).isValid());
        QProcess owner;
        owner.start(QStringLiteral(DEVMODED_PATH), {"--address", strict.address, "--state-file", stateFile, "--radio-states", "13"});
        QTRY_VERIFY(strict.isOwned(Service));
        QProcess nobody;
        nobody.start(QStringLiteral("setpriv"),
                     {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", "dbus-send", "--bus=" + strict.address,
                      "--print-reply", "--dest=" + Service, RequestPath, "com.zelkor.devmode.request.get_radio_states"});
        QVERIFY(nobody.waitForFinished(10000));
        QVERIFY2(nobody.readAllStandardOutput().contains("uint32 13"), nobody.readAllStandardError().constData());
        owner.terminate();
        QVERIFY(owner.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestDevmoded)
#include "tst_devmoded.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// devmoded as any client sees it on a bus of the test's own, its state
// file, and the kernel's radio kill switches, for which a pseudo-terminal
// stands in.
#include "commandlinetest.h"
#include "daemontest.h"
#include "fakerfkill.h"

#include <QDBusMessage>
#include <QDir>

#include <csignal>
#include <memory>
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

    std::unique_ptr<FakeRfkill> kernel;
    QList<uint> indications; // every "radio_states_ind"

    bool startDaemon(const QStringList& arguments = {}) { return daemon.start(QStringList{"--state-file", stateFile} + arguments); }
    // The kernel lists @p radios as the daemon opens the device.
    bool start(const QString& radios, int storedWord = -1, const QStringList& arguments = {})
    {
        QFile file(stateFile);
        if (storedWord >= 0 && (!file.open(QIODevice::WriteOnly) || file.write("radio_states=" + QByteArray::number(storedWord)) < 0))
            return false;
        file.close();
        kernel->add(radios);
        return startDaemon(QStringList{"--rfkill-device", kernel->path} + arguments);
    }

public Q_SLOTS:
    void indicated(uint word) { indications.append(word); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(bus.start());
        bus.serveAsDefault();
        QVERIFY(QDBusConnection::systemBus().connect(QString(), "/com/zelkor/devmode/signal", "com.zelkor.devmode.signal",
                                                     "radio_states_ind", this, SLOT(indicated(uint))));
    }

    void init()
    {
        kernel.reset(new FakeRfkill);
        QVERIFY(!kernel->path.isEmpty());
        // Indications that came during an earlier case's blocking calls are
        // queued until now.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        indications.clear();
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

    void requests_data()
    {
        QTest::addColumn<QString>("radios");
        QTest::addColumn<int>("storedWord");
        QTest::addColumn<QList<uint>>("steps"); // states, mask, the word the kernel's answer makes
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<uint>>("announced");
        QTest::newRow("one radio off") << "wwan wlan bluetooth nfc" << -1 << QList<uint>{0, 0x04, 0x1b}
                                       << "wwan wlan:soft bluetooth nfc" << QList<uint>{0x1f, 0x1b};
        QTest::newRow("on, with radios no device has") << "wlan bluetooth:soft" << 0x05 << QList<uint>{0x18, 0x18, 0x1d}
                                                       << "wlan bluetooth" << QList<uint>{0x15, 0x1d};
        QTest::newRow("every radio off, still online") << "wlan bluetooth" << -1 << QList<uint>{0, 0x0c, 0x13}
                                                       << "wlan:soft bluetooth:soft" << QList<uint>{0x1f, 0x13};
        QTest::newRow("offline and back") << "wlan bluetooth:soft gps" << -1 << QList<uint>{0, 1, 0x12, 1, 1, 0x17}
                                          << "wlan bluetooth:soft gps" << QList<uint>{0x16, 0x12, 0x13, 0x17};
        QTest::newRow("hard-blocked stays off") << "wlan:hard bluetooth" << -1 << QList<uint>{0x04, 0x04, 0x1b}
                                                << "wlan:hard bluetooth" << QList<uint>{0x1b};
        // Everything blocked at start: offline, with the values to restore
        // from the state file.
        QTest::newRow("starting offline") << "wlan:soft bluetooth:hard" << 0x05 << QList<uint>{1, 1, 0x05}
                                          << "wlan bluetooth:soft:hard" << QList<uint>{0x01, 0x05};
    }

    // Requests become the kernel's change events; the word follows what the
    // kernel reports, each change announced once.
    void requests()
    {
        QFETCH(QString, radios);
        QFETCH(int, storedWord);
        QFETCH(QList<uint>, steps);
        QFETCH(QString, after);
        QFETCH(QList<uint>, announced);
        QVERIFY(start(radios, storedWord));
        for (int i = 0; i + 2 < steps.size(); i += 3) {
            QCOMPARE(call(RequestPath, "req_radio_states_change", {steps[i], steps[i + 1]}).type(), QDBusMessage::ReplyMessage);
            QTRY_COMPARE(indications.value(indications.size() - 1), steps[i + 2]);
            QCOMPARE(radioStates(), steps[i + 2]);
        }
        QCOMPARE(kernel->radios(), after);
        QCOMPARE(indications, announced);
    }

    void othersSwitching_data()
    {
        QTest::addColumn<QStringList>("actions"); // and the word announced after each, if any
        QTest::addColumn<bool>("split");
        QTest::addColumn<int>("recordSize");
        QTest::newRow("blocked by another program") << QStringList{"soft 0 -> 0x1b"} << false << 8;
        QTest::newRow("hard switch") << QStringList{"hard 1 -> 0x17"} << false << 8;
        QTest::newRow("no change, then one") << QStringList{"on 0", "soft 1 -> 0x17"} << false << 8;
        QTest::newRow("a second WLAN, blocked") << QStringList{"add wlan:soft", "soft 1 -> 0x17"} << false << 8;
        QTest::newRow("an NFC radio appears") << QStringList{"add nfc:soft -> 0x0f"} << false << 8;
        QTest::newRow("radios vanish and block") << QStringList{"soft 0 -> 0x1b", "del 0", "soft 1 -> 0x12"} << false << 8;
        QTest::newRow("block all: offline") << QStringList{"soft 0 + soft 1 -> 0x12"} << false << 8;
        QTest::newRow("a radio appears while offline") << QStringList{"soft 0 + soft 1 -> 0x12", "add nfc -> 0x02"} << false << 8;
        QTest::newRow("airplane key and back") << QStringList{"hard 0 + hard 1 -> 0x12", "on 0 + on 1 -> 0x1f"} << false << 8;
        QTest::newRow("records no kernel sends") << QStringList{"nonsense", "soft 0 -> 0x1b"} << false << 8;
        QTest::newRow("a record split across reads") << QStringList{"soft 0 -> 0x1b"} << true << 8;
        QTest::newRow("longer records") << QStringList{"soft 0 -> 0x1b", "hard 1 + on 0 -> 0x17"} << false << 9;
        QTest::newRow("longer records, split") << QStringList{"hard 0 -> 0x1b"} << true << 12;
    }

    // Changes made by others reach every listener, once each; events that
    // change nothing are not announced.
    void othersSwitching()
    {
        QFETCH(QStringList, actions);
        QFETCH(bool, split);
        QFETCH(int, recordSize);
        kernel->recordSize = recordSize;
        QVERIFY(start("wlan bluetooth", -1, {"--rfkill-record-size", QString::number(recordSize)}));
        QCOMPARE(radioStates(), 0x1fu);
        QList<uint> announced;
        for (const QString& action : actions) {
            kernel->act(action.section(" -> ", 0, 0), split);
            if (action.contains(" -> ")) {
                announced.append(action.section(" -> ", 1).toUInt(nullptr, 16));
                QTRY_COMPARE(indications.size(), announced.size());
            }
        }
        QCOMPARE(indications, announced);
        QCOMPARE(radioStates(), announced.last());
    }

    // Offline mode outlives a restart, also one after which the kernel
    // unblocked everything; unblocking a radio by other means leaves it.
    void offlineModeOutlivesRestarts()
    {
        QVERIFY(start("wlan bluetooth", 0x1e));
        QTRY_COMPARE(indications, QList<uint>{0x12});
        QCOMPARE(kernel->requests, QStringList{"all soft"});
        QCOMPARE(kernel->radios(), QStringLiteral("wlan:soft bluetooth:soft"));
        kernel->act("on 1");
        QTRY_COMPARE(indications, (QList<uint>{0x12, 0x1b}));
        QTRY_COMPARE(contentOf(stateFile), QByteArray("# devmoded state\nradio_states=0x1b\n"));
    }

    // A device that goes away leaves the word as it was, and the daemon
    // serving; without a device at all, the state file keeps the radios.
    void withoutTheDevice_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("device goes away") << true;
        QTest::newRow("no such device") << false;
    }

    void withoutTheDevice()
    {
        QFETCH(bool, hangUp);
        if (hangUp) {
            QVERIFY(start("wlan:soft bluetooth"));
            kernel->hangUp();
            QTRY_VERIFY(daemon.log().contains("warning: the radio switches at " + kernel->path + " went away"));
        } else {
            QVERIFY(startDaemon({"--rfkill-device", scratch.filePath("rfkill")}));
            QVERIFY(daemon.log().contains("warning: no radio switches at " + scratch.filePath("rfkill")));
        }
        QCOMPARE(radioStates(), hangUp ? 0x1bu : 0x1fu);
        QCOMPARE(call(RequestPath, "req_radio_states_change", {0x04u, 0x0cu}).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(indications, QList<uint>{0x17});
        QCOMPARE(contentOf(stateFile), QByteArray("# devmoded state\nradio_states=0x17\n"));
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

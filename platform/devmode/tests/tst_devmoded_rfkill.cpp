// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// devmoded over the kernel's radio kill switches, with a pseudo-terminal
// standing in for the device: what the daemon answers and announces, and
// what it makes of the radios.
#include "daemontest.h"
#include "fakerfkill.h"

#include <QDBusMessage>

#include <memory>

namespace {

const QString Service = QStringLiteral("com.zelkor.devmode");

QDBusMessage radioCall(const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, QStringLiteral("/com/zelkor/devmode/request"),
                                                          QStringLiteral("com.zelkor.devmode.request"), member);
    message.setArguments(args);
    return QDBusConnection::systemBus().call(message);
}

uint radioStates() { return radioCall(QStringLiteral("get_radio_states")).arguments().value(0, 0xdeadu).toUInt(); }

} // namespace

// Every "radio_states_ind" on the bus.
class Indications : public QObject
{
    Q_OBJECT

public:
    Indications()
    {
        QDBusConnection::systemBus().connect(QString(), QStringLiteral("/com/zelkor/devmode/signal"),
                                             QStringLiteral("com.zelkor.devmode.signal"),
                                             QStringLiteral("radio_states_ind"), this, SLOT(take(uint)));
    }
    QList<uint> words;

public Q_SLOTS:
    void take(uint word) { words.append(word); }
};

class TestDevmodedRfkill : public QObject
{
    Q_OBJECT

    PrivateBus bus;
    QTemporaryDir scratch;
    const QString stateFile = scratch.filePath(QStringLiteral("radio-states"));
    DaemonProcess daemon{QStringLiteral(DEVMODED_PATH), Service};
    std::unique_ptr<FakeRfkill> kernel;
    std::unique_ptr<Indications> indications;

    // The kernel lists @p radios as the daemon opens the device.
    bool start(const QString& radios, int storedWord = -1, const QStringList& arguments = {})
    {
        QFile file(stateFile);
        if (storedWord >= 0 && (!file.open(QIODevice::WriteOnly) || file.write("radio_states=" + QByteArray::number(storedWord)) < 0))
            return false;
        file.close();
        kernel->add(radios);
        return daemon.start(QStringList{"--state-file", stateFile, "--rfkill-device", kernel->path} + arguments);
    }
    QByteArray stored() const
    {
        QFile file(stateFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(bus.start());
        bus.serveAsDefault();
        indications.reset(new Indications);
    }

    void init()
    {
        kernel.reset(new FakeRfkill);
        QVERIFY(!kernel->path.isEmpty());
        indications->words.clear();
    }

    void cleanup()
    {
        QCOMPARE(daemon.stop(), 0);
        QFile::remove(stateFile);
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
        if (storedWord == 0x05 && radios.contains("hard")) {
            QTRY_COMPARE(kernel->radios(), QStringLiteral("wlan:soft bluetooth:soft:hard"));
            QCOMPARE(radioStates(), 0u);
        }
        for (int i = 0; i + 2 < steps.size(); i += 3) {
            QCOMPARE(radioCall("req_radio_states_change", {steps[i], steps[i + 1]}).type(), QDBusMessage::ReplyMessage);
            QTRY_COMPARE(indications->words.value(indications->words.size() - 1), steps[i + 2]);
            QCOMPARE(radioStates(), steps[i + 2]);
        }
        QCOMPARE(kernel->radios(), after);
        QCOMPARE(indications->words, announced);
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
                QTRY_COMPARE(indications->words.size(), announced.size());
            }
        }
        QCOMPARE(indications->words, announced);
        QCOMPARE(radioStates(), announced.last());
        QVERIFY(kernel->requests.isEmpty());
    }

    // Offline mode outlives a restart, even one after which the kernel
    // unblocked everything; unblocking a radio by other means leaves it.
    void offlineModeOutlivesRestarts()
    {
        QVERIFY(start("wlan bluetooth"));
        QCOMPARE(radioCall("req_radio_states_change", {0u, 1u}).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(indications->words, (QList<uint>{0x1e, 0x12}));
        QCOMPARE(kernel->requests, QStringList{"all soft"});
        QCOMPARE(daemon.stop(), 0);
        QCOMPARE(stored(), QByteArray("# devmoded state\nradio_states=0x1e\n"));

        kernel.reset(new FakeRfkill);
        indications->words.clear();
        QVERIFY(start("wlan bluetooth"));
        QTRY_COMPARE(indications->words, QList<uint>{0x12});
        QCOMPARE(kernel->radios(), QStringLiteral("wlan:soft bluetooth:soft"));
        indications->words.clear();
        kernel->act("on 1");
        QTRY_COMPARE(indications->words, QList<uint>{0x1b});
        QTRY_COMPARE(stored(), QByteArray("# devmoded state\nradio_states=0x1b\n"));
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
            QVERIFY(daemon.start({"--state-file", stateFile, "--rfkill-device", scratch.filePath("rfkill")}));
            QVERIFY(daemon.log().contains("warning: no radio switches at " + scratch.filePath("rfkill")));
        }
        QCOMPARE(radioStates(), hangUp ? 0x1bu : 0x1fu);
        QCOMPARE(radioCall("req_radio_states_change", {0x04u, 0x0cu}).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(indications->words, QList<uint>{0x17});
        QCOMPARE(stored(), QByteArray("# devmoded state\nradio_states=0x17\n"));
    }
};

QTEST_GUILESS_MAIN(TestDevmodedRfkill)
#include "tst_devmoded_rfkill.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// RadioState and ConnectivityUIUtils against devmoded on the private system
// bus, one daemon for the whole run.
#include <Pavane/ConnectivityUIUtils>
#include <Pavane/RadioState>

#include "testsupport.h"

#include <QDBusError>
#include <QtTest>

#include <csignal>

using Pavane::ConnectivityUIUtils;
using Pavane::RadioState;

Q_DECLARE_METATYPE(RadioState::Radios)

class Receiver : public QObject
{
    Q_OBJECT

public:
    int replies = 0;
    QStringList errors;

public Q_SLOTS:
    void onReply() { ++replies; }
    void onError(const QDBusError& error) { errors.append(error.name()); }
};

class TestDeviceControl : public QObject
{
    Q_OBJECT

private:
    TestSupport::DevmodeProcess daemon;

    uint queries() const { return daemon.requestsSinceReset(QStringLiteral("get_radio_states")); }
    uint changes() const { return daemon.requestsSinceReset(QStringLiteral("req_radio_states_change")); }
    TestSupport::DevmodeProcess::Request displayRequest() const
    {
        return daemon.lastRequest(QStringLiteral("req_display_state_on"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(daemon.start({QStringLiteral("--tklock"), QStringLiteral("locked"),
                              QStringLiteral("--display"), QStringLiteral("off")}));
    }

    void enabledAndSetEnabled_data()
    {
        QTest::addColumn<uint>("word");
        QTest::addColumn<RadioState::Radios>("radios");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QList<QVariant>>("request"); // states, mask
        // Each row switches the set the other way, but for NoRadio.
        const auto request = [](uint states, uint mask) { return QList<QVariant>{states, mask}; };
        QTest::newRow("WLAN and Bluetooth of 0x0d") << 0x0du << (RadioState::WLAN | RadioState::Bluetooth) << true
                                                    << request(0, 0x0c);
        QTest::newRow("cellular and WLAN of 0x0d") << 0x0du << (RadioState::Cellular | RadioState::WLAN) << false
                                                   << request(0x06, 0x06);
        QTest::newRow("no radio of 0x00") << 0x00u << RadioState::Radios(RadioState::NoRadio) << true << request(0, 0);
        QTest::newRow("unknown bits are dropped") << 0x04u << RadioState::Radios(0x24) << true << request(0, 0x04);
    }

    // enabled() right after construction waits for the daemon's answer.
    // setEnabled() only asks: the state changes with the daemon's indication.
    void enabledAndSetEnabled()
    {
        QFETCH(uint, word);
        QFETCH(RadioState::Radios, radios);
        QFETCH(bool, enabled);
        QFETCH(QList<QVariant>, request);
        QVERIFY(daemon.reset(word));
        RadioState state(radios);
        QCOMPARE(state.enabled(), enabled);
        const bool enable = radios == RadioState::NoRadio || !enabled;
        QSignalSpy changed(&state, SIGNAL(enabledChanged(bool)));
        state.setEnabled(enable);
        QCOMPARE(state.enabled(), enabled);
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changes(), 1u);
        const auto sent = daemon.lastRequest(QStringLiteral("req_radio_states_change"));
        QCOMPARE(sent.args, request);
        QVERIFY(sent.replyExpected);
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(state.enabled(), enable);
    }

    void receiversMayDestroyObjects_data()
    {
        TestSupport::addReceiverVictimRows({"enabled()", "first answer", "indication"});
    }

    // A receiver may destroy the emitter, its siblings or every RadioState
    // (and with them the shared state) while the word is handed round; also
    // while enabled() waits for the first answer, which it still returns.
    void receiversMayDestroyObjects()
    {
        QFETCH(QString, during);
        QFETCH(QString, victims);
        QVERIFY(daemon.reset(0x0d));
        QList<QPointer<RadioState>> states;
        for (int i = 0; i < 3; ++i)
            states.append(new RadioState(RadioState::WLAN));
        if (during == QLatin1String("indication"))
            QVERIFY(states[0]->enabled());
        int calls = 0;
        TestSupport::deleteVictimsOnSignal(this, states, &RadioState::enabledChanged, victims, calls);
        if (during == QLatin1String("enabled()"))
            QVERIFY(states[0]->enabled());
        else if (during == QLatin1String("indication"))
            QVERIFY(daemon.changeRadioStates(0, 0));
        QTRY_COMPARE(calls, TestSupport::receiversRun(victims));
        QCOMPARE(int(states.size() - states.count(nullptr)), TestSupport::survivors(victims));
        for (const QPointer<RadioState>& state : states)
            disconnect(state, nullptr, this, nullptr);

        // Whether or not the shared state went with them, the next one works.
        RadioState again(RadioState::WLAN);
        QVERIFY(again.enabled());
        QCOMPARE(queries(), 2u);
        for (const QPointer<RadioState>& state : states)
            delete state.data();
    }

    void unlockScreenSendsOneCallWithoutAwaitingAReply()
    {
        ConnectivityUIUtils::unlockScreen();
        QTRY_COMPARE(daemon.inspected(QStringLiteral("get_tklock_mode")), QStringLiteral("unlocked"));
        const auto request = daemon.lastRequest(QStringLiteral("req_tklock_mode_change"));
        QCOMPARE(request.count, 1u);
        QCOMPARE(request.args, QList<QVariant>{QStringLiteral("unlocked")});
        QVERIFY(!request.replyExpected);
    }

    // Only a receiver with both a return and an error method makes the call
    // await a reply; every other form is sent and forgotten.
    void unblankDisplay_data()
    {
        QTest::addColumn<bool>("receiver"); // with a return method
        QTest::addColumn<bool>("errorMethod");
        QTest::newRow("no receiver") << false << false;
        QTest::newRow("no error method") << true << false;
        QTest::newRow("both methods") << true << true;
    }

    void unblankDisplay()
    {
        QFETCH(bool, receiver);
        QFETCH(bool, errorMethod);
        Receiver answers;
        const uint before = displayRequest().count;
        ConnectivityUIUtils::unblankDisplay(receiver ? &answers : nullptr, receiver ? SLOT(onReply()) : nullptr,
                                            errorMethod ? SLOT(onError(QDBusError)) : nullptr, 5000);
        QTRY_COMPARE(displayRequest().count, before + 1);
        QCOMPARE(daemon.inspected(QStringLiteral("get_display_state")), QStringLiteral("on"));
        QVERIFY(displayRequest().args.isEmpty());
        const bool awaited = receiver && errorMethod;
        QCOMPARE(displayRequest().replyExpected, awaited);
        // A round trip later, only a receiver that awaits it has heard of it.
        QTRY_COMPARE(answers.replies, awaited ? 1 : 0);
        QCoreApplication::processEvents();
        QCOMPARE(answers.replies + answers.errors.size(), awaited ? 1 : 0);
    }

    // Killed and started again under live objects: meanwhile requests fail
    // with a warning and the last word stays; then the objects follow the
    // new daemon's indications.
    void theDaemonRestartsUnderLiveObjects()
    {
        QVERIFY(daemon.reset(0x0d));
        RadioState wlan(RadioState::WLAN);
        QVERIFY(wlan.enabled());
        QSignalSpy changed(&wlan, &RadioState::enabledChanged);
        ::kill(pid_t(daemon.pid()), SIGKILL);
        QCOMPARE(daemon.stop(), -1);
        TestSupport::MessageLog log;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
            "^RadioState setEnabledCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, .+")));
        wlan.setEnabled(false);
        QTRY_COMPARE(log.messages(QtWarningMsg).size(), 1);
        QVERIFY(wlan.enabled());

        QVERIFY(daemon.start({QStringLiteral("--radio-states"), QStringLiteral("0x0d")}));
        QVERIFY(daemon.reset(0x0d));
        QVERIFY(daemon.changeRadioStates(0, 0x04));
        QTRY_VERIFY(!wlan.enabled());
        QCOMPARE(changed.count(), 2); // the restart's own word, then the change
        QCOMPARE(changed.last().at(0).toBool(), false);
    }

    void withoutTheDaemon()
    {
        QCOMPARE(daemon.stop(), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
            "^RadioState statusCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, .+")));
        RadioState wlan(RadioState::WLAN);
        RadioState none(RadioState::NoRadio);
        QVERIFY(!wlan.enabled());
        QVERIFY(none.enabled());

        // The error method hears of the missing daemon; the rest is quiet.
        Receiver receiver;
        ConnectivityUIUtils::unblankDisplay(&receiver, SLOT(onReply()), SLOT(onError(QDBusError)));
        QTRY_COMPARE(receiver.errors, QStringList{"org.freedesktop.DBus.Error.ServiceUnknown"});
        QCOMPARE(receiver.replies, 0);
        ConnectivityUIUtils::unlockScreen();
    }
};

QTEST_GUILESS_MAIN(TestDeviceControl)
#include "tst_devicecontrol.moc"

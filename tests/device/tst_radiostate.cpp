// RadioState against devmoded on the private system bus.
#include <Pavane/RadioState>

#include "testsupport.h"

#include <QtTest>

#include <csignal>
#include <memory>

using Pavane::RadioState;

Q_DECLARE_METATYPE(RadioState::Radios)

class TestRadioState : public QObject
{
    Q_OBJECT

private:
    // One daemon for the whole run: restarting it between cases would race
    // QtDBus's bookkeeping of the name's owner. Each case sets the word it
    // starts from, and counts requests from where it starts.
    std::unique_ptr<TestSupport::DevmodeProcess> daemon;
    uint queriesBefore = 0;
    uint changesBefore = 0;

    bool startDaemon(uint radioStates)
    {
        if (!daemon->changeRadioStates(radioStates, 0x1f))
            return false;
        // Indications still on their way from earlier cases reach nobody:
        // they were sent before the reply, so they are queued here by now.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        queriesBefore = count("get_radio_states");
        changesBefore = count("req_radio_states_change");
        return true;
    }

    uint count(const char* member) const { return daemon->lastRequest(QLatin1String(member)).count; }
    uint queries() const { return count("get_radio_states") - queriesBefore; }
    uint changes() const { return count("req_radio_states_change") - changesBefore; }

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        daemon.reset(new TestSupport::DevmodeProcess);
        QVERIFY(daemon->start());
    }

    void cleanupTestCase()
    {
        if (daemon && daemon->isRunning())
            QCOMPARE(daemon->stop(), 0);
    }

    void enabledAndSetEnabled_data()
    {
        QTest::addColumn<uint>("word");
        QTest::addColumn<RadioState::Radios>("radios");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<uint>("states");
        QTest::addColumn<uint>("mask");

        // Each row switches the set the other way, but for NoRadio.
        QTest::newRow("WLAN and Bluetooth of 0x0d") << 0x0du << (RadioState::WLAN | RadioState::Bluetooth)
                                                    << true << 0u << 0x0cu;
        QTest::newRow("cellular and WLAN of 0x0d") << 0x0du << (RadioState::Cellular | RadioState::WLAN)
                                                   << false << 0x06u << 0x06u;
        QTest::newRow("all radios of 0x1f") << 0x1fu << RadioState::Radios(RadioState::AllRadios) << true
                                            << 0u << 0x1fu;
        QTest::newRow("no radio of 0x00") << 0x00u << RadioState::Radios(RadioState::NoRadio) << true
                                          << 0u << 0u;
        QTest::newRow("unknown bits are dropped") << 0x04u << RadioState::Radios(0x24) << true << 0u << 0x04u;
    }

    // enabled() right after construction waits for the daemon's answer.
    // setEnabled() only asks: the state changes with the daemon's indication.
    void enabledAndSetEnabled()
    {
        QFETCH(uint, word);
        QFETCH(RadioState::Radios, radios);
        QFETCH(bool, enabled);
        QFETCH(uint, states);
        QFETCH(uint, mask);
        QVERIFY(startDaemon(word));
        RadioState state(radios);
        QCOMPARE(state.enabled(), enabled);
        const bool enable = radios == RadioState::NoRadio || !enabled;
        QSignalSpy changed(&state, SIGNAL(enabledChanged(bool)));
        state.setEnabled(enable);
        QCOMPARE(state.enabled(), enabled);
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changes(), 1u);
        const auto request = daemon->lastRequest(QStringLiteral("req_radio_states_change"));
        QCOMPARE(request.args, (QList<QVariant>{states, mask}));
        QVERIFY(request.replyExpected);
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(state.enabled(), enable);
    }

    void everyIndicationReachesEveryObjectOnce()
    {
        QVERIFY(startDaemon(0x0d));
        RadioState wlan(RadioState::WLAN), cellular(RadioState::Cellular), none(RadioState::NoRadio);
        QSignalSpy wlanChanged(&wlan, SIGNAL(enabledChanged(bool)));
        QSignalSpy cellularChanged(&cellular, SIGNAL(enabledChanged(bool)));
        QSignalSpy noneChanged(&none, SIGNAL(enabledChanged(bool)));
        auto counts = [&] {
            return QList<int>{wlanChanged.count(), cellularChanged.count(), noneChanged.count()};
        };

        // The answer to the one query notifies everybody...
        QTRY_COMPARE(counts(), (QList<int>{1, 1, 1}));
        QCOMPARE(queries(), 1u);
        // ...and so does an indication that changes nothing.
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(counts(), (QList<int>{2, 2, 2}));
        QCOMPARE(wlanChanged.at(1).at(0).toBool(), true);
        QCOMPARE(cellularChanged.at(1).at(0).toBool(), false);
        QCOMPARE(noneChanged.at(1).at(0).toBool(), true);
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
        QVERIFY(startDaemon(0x0d));
        QList<QPointer<RadioState>> states;
        for (int i = 0; i < 3; ++i)
            states.append(new RadioState(RadioState::WLAN));
        if (during == QLatin1String("indication"))
            QVERIFY(states[0]->enabled());
        int calls = 0;
        for (int i = 0; i < 3; ++i) {
            connect(states[i], &RadioState::enabledChanged, this, [&, i] {
                ++calls;
                for (int other = 0; other < 3; ++other) {
                    if (TestSupport::isVictim(victims, i, other))
                        delete states[other].data();
                }
            });
        }
        if (during == QLatin1String("enabled()"))
            QVERIFY(states[0]->enabled());
        else if (during == QLatin1String("indication"))
            QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(calls, TestSupport::receiversRun(victims));
        QCOMPARE(int(states.size() - states.count(nullptr)), TestSupport::survivors(victims));
        for (const QPointer<RadioState>& state : states) {
            if (state)
                QObject::disconnect(state, nullptr, this, nullptr);
        }

        // Whether or not the shared state went with them, the next one works.
        RadioState again(RadioState::WLAN);
        QVERIFY(again.enabled());
        QCOMPARE(queries(), 2u);
        for (const QPointer<RadioState>& state : states)
            delete state.data();
    }

    // Killed and started again under live objects: meanwhile requests fail
    // with a warning and the last word stays; then the objects follow the
    // new daemon's indications.
    void theDaemonRestartsUnderLiveObjects()
    {
        QVERIFY(startDaemon(0x0d));
        RadioState wlan(RadioState::WLAN);
        QVERIFY(wlan.enabled());
        QSignalSpy changed(&wlan, &RadioState::enabledChanged);
        ::kill(pid_t(daemon->pid()), SIGKILL);
        QCOMPARE(daemon->stop(), -1);
        TestSupport::MessageLog log;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
            "^RadioState setEnabledCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, .+")));
        wlan.setEnabled(false);
        QTRY_COMPARE(log.messages(QtWarningMsg).size(), 1);
        QVERIFY(wlan.enabled());

        QVERIFY(daemon->start({QStringLiteral("--radio-states"), QStringLiteral("0x0d")}));
        QVERIFY(startDaemon(0x0d));
        QVERIFY(daemon->changeRadioStates(0, 0x04));
        QTRY_VERIFY(!wlan.enabled());
        QCOMPARE(changed.count(), 2); // the restart's own word, then the change
        QCOMPARE(changed.last().at(0).toBool(), false);
    }

    void withoutTheDaemon()
    {
        QCOMPARE(daemon->stop(), 0);
        TestSupport::MessageLog log;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
            "^RadioState statusCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, .+")));
        RadioState wlan(RadioState::WLAN);
        RadioState none(RadioState::NoRadio);
        QVERIFY(!wlan.enabled());
        QVERIFY(none.enabled());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
            "^RadioState setEnabledCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, .+")));
        wlan.setEnabled(true);
        QTRY_COMPARE(log.messages(QtWarningMsg).size(), 2);
        QVERIFY(!wlan.enabled());
    }
};

QTEST_GUILESS_MAIN(TestRadioState)
#include "tst_radiostate.moc"

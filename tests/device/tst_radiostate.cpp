// RadioState against devmoded on the private system bus.
#include <Pavane/RadioState>

#include "testsupport.h"

#include <QScopedPointer>
#include <QtTest>

#include <memory>
#include <vector>

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
        queriesBefore = daemon->lastRequest(QStringLiteral("get_radio_states")).count;
        changesBefore = daemon->lastRequest(QStringLiteral("req_radio_states_change")).count;
        return true;
    }

    uint queries() const { return daemon->lastRequest(QStringLiteral("get_radio_states")).count - queriesBefore; }
    uint changes() const
    {
        return daemon->lastRequest(QStringLiteral("req_radio_states_change")).count - changesBefore;
    }

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

    // enabled() right after construction waits for the daemon's answer.
    void enabledWhenEveryRadioOfTheSetIsOn_data()
    {
        QTest::addColumn<uint>("word");
        QTest::addColumn<RadioState::Radios>("radios");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("WLAN and Bluetooth of 0x0d") << 0x0du << (RadioState::WLAN | RadioState::Bluetooth) << true;
        QTest::newRow("cellular and WLAN of 0x0d") << 0x0du << (RadioState::Cellular | RadioState::WLAN) << false;
        QTest::newRow("all radios of 0x0d") << 0x0du << RadioState::Radios(RadioState::AllRadios) << false;
        QTest::newRow("all radios of 0x1f") << 0x1fu << RadioState::Radios(RadioState::AllRadios) << true;
        QTest::newRow("no radio of 0x00") << 0x00u << RadioState::Radios(RadioState::NoRadio) << true;
        QTest::newRow("master of 0x00") << 0x00u << RadioState::Radios(RadioState::Master) << false;
        QTest::newRow("unknown bits are dropped") << 0x04u << RadioState::Radios(0x24) << true;
    }

    void enabledWhenEveryRadioOfTheSetIsOn()
    {
        QFETCH(uint, word);
        QFETCH(RadioState::Radios, radios);
        QFETCH(bool, enabled);
        QVERIFY(startDaemon(word));
        RadioState state(radios);
        QCOMPARE(state.enabled(), enabled);
        QCOMPARE(state.property("enabled").toBool(), enabled);
    }

    void setEnabledSendsStatesAndMask_data()
    {
        QTest::addColumn<RadioState::Radios>("radios");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<uint>("states");
        QTest::addColumn<uint>("mask");

        QTest::newRow("WLAN off") << RadioState::Radios(RadioState::WLAN) << false << 0u << 0x04u;
        QTest::newRow("WLAN on") << RadioState::Radios(RadioState::WLAN) << true << 0x04u << 0x04u;
        QTest::newRow("no radio") << RadioState::Radios(RadioState::NoRadio) << true << 0u << 0u;
        QTest::newRow("unknown bits dropped") << RadioState::Radios(0x24) << false << 0u << 0x04u;
        QTest::newRow("master and cellular on") << (RadioState::Master | RadioState::Cellular) << true
                                                << 0x03u << 0x03u;
    }

    void setEnabledSendsStatesAndMask()
    {
        QFETCH(RadioState::Radios, radios);
        QFETCH(bool, enable);
        QFETCH(uint, states);
        QFETCH(uint, mask);
        QVERIFY(startDaemon(0x0d));
        RadioState state(radios);
        state.setEnabled(enable);
        QTRY_COMPARE(changes(), 1u);
        const auto request = daemon->lastRequest(QStringLiteral("req_radio_states_change"));
        QCOMPARE(request.args, (QList<QVariant>{states, mask}));
        QVERIFY(request.replyExpected);
    }

    void setEnabledWaitsForTheIndication()
    {
        QVERIFY(startDaemon(0x0d));
        RadioState cellular(RadioState::Cellular);
        QVERIFY(!cellular.enabled());
        QSignalSpy changed(&cellular, SIGNAL(enabledChanged(bool)));
        cellular.setEnabled(true);
        QVERIFY(!cellular.enabled());
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toBool(), true);
        QVERIFY(cellular.enabled());
    }

    void everyIndicationReachesEveryObjectOnce()
    {
        QVERIFY(startDaemon(0x0d));
        RadioState wlan(RadioState::WLAN);
        RadioState cellular(RadioState::Cellular);
        RadioState none(RadioState::NoRadio);
        QSignalSpy wlanChanged(&wlan, SIGNAL(enabledChanged(bool)));
        QSignalSpy cellularChanged(&cellular, SIGNAL(enabledChanged(bool)));
        QSignalSpy noneChanged(&none, SIGNAL(enabledChanged(bool)));

        // The answer to the one query notifies everybody...
        QTRY_COMPARE(wlanChanged.count(), 1);
        QTRY_COMPARE(cellularChanged.count(), 1);
        QTRY_COMPARE(noneChanged.count(), 1);
        QCOMPARE(queries(), 1u);

        // ...and so does an indication that changes nothing.
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(wlanChanged.count(), 2);
        QTRY_COMPARE(cellularChanged.count(), 2);
        QTRY_COMPARE(noneChanged.count(), 2);
        QCOMPARE(wlanChanged.at(1).at(0).toBool(), true);
        QCOMPARE(cellularChanged.at(1).at(0).toBool(), false);
        QCOMPARE(noneChanged.at(1).at(0).toBool(), true);
    }

    void theLastObjectTakesTheSharedStateWithIt()
    {
        QVERIFY(startDaemon(0x0d));
        {
            RadioState all(RadioState::AllRadios);
            QVERIFY(!all.enabled());
        }
        // Nobody listens now; the next object must ask afresh.
        QVERIFY(daemon->changeRadioStates(0x1f, 0x1f));
        RadioState all(RadioState::AllRadios);
        QVERIFY(all.enabled());
        QCOMPARE(queries(), 2u);
    }

    void aThousandObjectsAreEachNotifiedOnce()
    {
        QVERIFY(startDaemon(0x0d));
        const int count = 1000;
        std::vector<std::unique_ptr<RadioState>> states;
        std::vector<int> notified(count, 0);
        for (int i = 0; i < count; ++i) {
            states.emplace_back(new RadioState(RadioState::Bluetooth));
            connect(states.back().get(), &RadioState::enabledChanged, this,
                    [&notified, i] { ++notified[i]; });
        }
        QVERIFY(states.front()->enabled());
        QVERIFY(daemon->changeRadioStates(0, RadioState::Bluetooth));
        QTRY_VERIFY(!states.back()->property("enabled").toBool()
                    && std::all_of(notified.begin(), notified.end(), [](int n) { return n == 2; }));
        QCOMPARE(queries(), 1u);
    }

    // A slot may destroy other RadioStates while an indication is handed
    // round; they are then skipped, not notified after their death.
    void slotsMayDestroyOtherObjects()
    {
        QVERIFY(startDaemon(0x0d));
        RadioState* states[3] = {new RadioState(RadioState::WLAN), new RadioState(RadioState::WLAN),
                                 new RadioState(RadioState::WLAN)};
        QVERIFY(states[0]->enabled());
        int calls = 0;
        auto destroyOthers = [&] {
            ++calls;
            for (RadioState*& state : states) {
                if (state && state != sender()) {
                    delete state;
                    state = nullptr;
                }
            }
        };
        for (RadioState* state : states)
            connect(state, &RadioState::enabledChanged, this, destroyOthers);
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(calls, 1);
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(calls, 2);
        for (RadioState* state : states)
            delete state;
    }

    // The answer to the first query may make a slot destroy the last
    // RadioState, and with it the shared state, while enabled() waits.
    void aSlotMayDestroyTheLastObjectDuringTheFirstAnswer()
    {
        QVERIFY(startDaemon(0x0d));
        QPointer<RadioState> only = new RadioState(RadioState::WLAN);
        RadioState* doomed = only.data();
        connect(doomed, &RadioState::enabledChanged, this, [doomed] { delete doomed; });
        QTRY_VERIFY(only.isNull());
        RadioState again(RadioState::WLAN);
        QVERIFY(again.enabled());
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

    void metaObject()
    {
        const QMetaObject& mo = RadioState::staticMetaObject;
        const QMetaProperty enabled = mo.property(mo.indexOfProperty("enabled"));
        QVERIFY(enabled.isReadable() && enabled.isWritable() && enabled.hasNotifySignal());
        QCOMPARE(enabled.notifySignal().methodSignature(), QByteArray("enabledChanged(bool)"));
        QCOMPARE(enabled.notifySignal().parameterNames(), QList<QByteArray>{"enabled"});
        QCOMPARE(mo.methodCount() - mo.methodOffset(), 1);
        const QMetaEnum radio = mo.enumerator(mo.indexOfEnumerator("Radio"));
        const QMetaEnum radios = mo.enumerator(mo.indexOfEnumerator("Radios"));
        QVERIFY(radio.isValid() && !radio.isFlag());
        QVERIFY(radios.isValid() && radios.isFlag());
        QCOMPARE(radios.keysToValue("WLAN|Bluetooth"), 0x0c);
        QCOMPARE(radio.keyToValue("AllRadios"), 0x1f);
    }
};

QTEST_GUILESS_MAIN(TestRadioState)
#include "tst_radiostate.moc"

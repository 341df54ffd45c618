// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// OfflineMode against devmoded on the private bus, with the question
// answered as a person would: the box is found where it is shown and its
// button tapped.
#include <Pavane/OfflineMode>
#include <Pavane/RadioState>

#include "testsupport.h"
#include "toolkittest.h"

#include <MLocale>
#include <MMessageBox>
#include <MWindow>

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using Pavane::OfflineMode;
using Pavane::RadioState;
using ToolkitTest::answer;
using ToolkitTest::shownQuestion;

namespace {

int shownQuestions()
{
    int count = 0;
    for (MSceneWindow* sceneWindow : MWindow::systemwideWindow()->sceneWindows())
        count += qobject_cast<MMessageBox*>(sceneWindow) ? 1 : 0;
    return count;
}

QStringList statuses(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& call : spy)
        result.append(call.at(0).toBool() ? QStringLiteral("offline") : QStringLiteral("online"));
    return result;
}

} // namespace

class TestOfflineMode : public QObject
{
    Q_OBJECT

private:
    TestSupport::DevmodeProcess daemon;

    uint changeRequests() const { return daemon.requestsSinceReset(QStringLiteral("req_radio_states_change")); }
    QList<QVariant> lastChangeRequest() const
    {
        return daemon.lastRequest(QStringLiteral("req_radio_states_change")).args;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(daemon.start());
    }

    void cleanup()
    {
        QTRY_COMPARE(shownQuestions(), 0);
    }

    // Online, asking is answered at once; set() speaks of offline mode, and
    // the status follows the daemon's indication.
    void onlineAsksNothingAndSetSpeaksOfOfflineMode()
    {
        QVERIFY(daemon.reset(0x1f));
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        QVERIFY(mode.currentStatus());
        QVERIFY(mode.requestExit());
        mode.requestExitAsync();
        QCOMPARE(shownQuestions(), 0);
        QCOMPARE(changeRequests(), 0u);

        mode.set(true);
        QTRY_COMPARE(statuses(status), QStringList{QStringLiteral("offline")});
        QCOMPARE(changeRequests(), 1u);
        QCOMPARE(lastChangeRequest(), (QList<QVariant>{0u, 1u}));
        QVERIFY(!mode.currentStatus());
    }

    // The host's own language and catalogues stay; "offline" joins them.
    void theHostsLocaleStays()
    {
        qputenv("TESSELTOUCH_TRANSLATIONS_DIR", HOST_TRANSLATIONS_DIR);
        MLocale host(QStringLiteral("fi"));
        host.installTrCatalog(QStringLiteral("hostapp"));
        MLocale::setDefault(host);
        QVERIFY(daemon.reset(0x1f));
        {
            OfflineMode mode;
            QCOMPARE(MLocale::defaultLocale().name(), QStringLiteral("fi"));
            QCOMPARE(qtTrId("host_greeting"), QStringLiteral("Hei"));
            QCOMPARE(qtTrId("qtn_offl_exiting"), QStringLiteral("Poistutaanko lentotilasta?"));
        }
        MLocale::setDefault(MLocale(QStringLiteral("en")));
        qunsetenv("TESSELTOUCH_TRANSLATIONS_DIR");
    }

    void receiversCreatingRadioStates_data()
    {
        QTest::addColumn<bool>("onStatus"); // else on a RadioState's enabledChanged()
        QTest::addColumn<bool>("ask");      // enabled() in the receiver, else the answer comes later
        QTest::newRow("status(), asking at once") << true << true;
        QTest::newRow("status(), answered later") << true << false;
        QTest::newRow("enabledChanged(), asking at once") << false << true;
    }

    // A receiver that makes a RadioState whenever it is told: the new one
    // asks the daemon, and an answer that changes nothing is news to it
    // alone. Each indication still reaches every object.
    void receiversCreatingRadioStates()
    {
        QFETCH(bool, onStatus);
        QFETCH(bool, ask);
        QVERIFY(daemon.reset(0x1e));
        OfflineMode mode;
        RadioState wlan(RadioState::WLAN);
        QVERIFY(wlan.enabled());
        QObject made;
        int told = 0;
        int newOnesTold = 0;
        const auto makeOne = [&made, &told, &newOnesTold, ask] {
            ++told;
            auto* state = new RadioState(RadioState::Cellular, &made);
            connect(state, &RadioState::enabledChanged, &made, [&newOnesTold] { ++newOnesTold; });
            if (ask)
                QVERIFY(state->enabled());
        };
        if (onStatus)
            connect(&mode, &OfflineMode::status, &made, makeOne);
        else
            connect(&wlan, &RadioState::enabledChanged, &made, makeOne);
        for (int indication = 1; indication <= 2; ++indication) {
            QVERIFY(daemon.changeRadioStates(0x01, 0x01));
            // Heard: by the earlier ones the indication, by each its own answer.
            QTRY_COMPARE(newOnesTold, indication * (indication + 1) / 2);
            QCOMPARE(told, indication);
        }
        QCOMPARE(made.children().size(), 2);
        QVERIFY(mode.currentStatus());
    }

    void receiversMayDestroyObjects_data()
    {
        TestSupport::addReceiverVictimRows({"indication", "asynchronous decline", "blocking question"});
    }

    // A receiver of status() may destroy the emitter, its siblings or every
    // OfflineMode, and with them the shared state and its question: while an
    // indication goes round, while the declined question reports, and inside
    // requestExit()'s nested loop.
    void receiversMayDestroyObjects()
    {
        QFETCH(QString, during);
        QFETCH(QString, victims);
        QVERIFY(daemon.reset(0x1e));
        QList<QPointer<OfflineMode>> modes;
        for (int i = 0; i < 3; ++i)
            modes.append(new OfflineMode);
        int calls = 0;
        TestSupport::deleteVictimsOnSignal(this, modes, &OfflineMode::status, victims, calls);
        if (during == QLatin1String("indication")) {
            QVERIFY(daemon.changeRadioStates(0, 0));
        } else if (during == QLatin1String("asynchronous decline")) {
            modes[0]->requestExitAsync();
            QTRY_VERIFY(shownQuestion());
            QCOMPARE(shownQuestion()->text(), QStringLiteral("Exit offline mode?"));
            QVERIFY(shownQuestion()->isSystem());
            QVERIFY(answer(M::NoButton));
        } else {
            // An indication reaches the receivers while the question waits.
            QTimer answering;
            bool indicated = false;
            connect(&answering, &QTimer::timeout, this, [&] {
                if (!shownQuestion())
                    return;
                if (!indicated) {
                    indicated = daemon.changeRadioStates(0, 0);
                    return;
                }
                if (calls > 0 && answer(M::NoButton))
                    answering.stop();
            });
            answering.start(10);
            QVERIFY(!modes[0]->requestExit());
        }
        QTRY_COMPARE(calls, TestSupport::receiversRun(victims));
        QCOMPARE(int(modes.size() - modes.count(nullptr)), TestSupport::survivors(victims));
        for (const QPointer<OfflineMode>& mode : modes)
            delete mode.data();
    }
};

QTEST_MAIN(TestOfflineMode)
#include "tst_offlinemode.moc"

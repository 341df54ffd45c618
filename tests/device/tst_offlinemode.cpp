// OfflineMode against devmoded on the private bus, with the question
// answered as a person would: the box is found where it is shown and its
// button tapped.
#include <Pavane/OfflineMode>
#include <Pavane/RadioState>

#include "testsupport.h"
#include "toolkittest.h"

#include <MButton>
#include <MMessageBox>
#include <MWindow>

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using Pavane::OfflineMode;

namespace {

// The question, if one is on screen.
MMessageBox* shownQuestion()
{
    MWindow* window = MWindow::systemwideWindow();
    const QList<MSceneWindow*> shown = window->sceneWindows();
    for (MSceneWindow* sceneWindow : shown) {
        auto* box = qobject_cast<MMessageBox*>(sceneWindow);
        if (box && box->sceneWindowState() == MSceneWindow::Appeared)
            return box;
    }
    return nullptr;
}

int shownQuestions()
{
    int count = 0;
    for (MSceneWindow* sceneWindow : MWindow::systemwideWindow()->sceneWindows())
        count += qobject_cast<MMessageBox*>(sceneWindow) ? 1 : 0;
    return count;
}

bool answer(M::StandardButton which)
{
    MMessageBox* box = shownQuestion();
    if (!box || !box->button(which))
        return false;
    ToolkitTest::tap(MWindow::systemwideWindow(), box->button(which));
    return true;
}

// Answers the next question shown, also from inside a nested event loop.
class Answerer : public QObject
{
public:
    explicit Answerer(M::StandardButton which)
        : which(which)
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (answer(this->which)) {
                timer.stop();
                answered = true;
            }
        });
        timer.start(10);
    }

    QTimer timer;
    M::StandardButton which;
    bool answered = false;
};

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
    // One daemon for the whole run: restarting it between cases would race
    // QtDBus's bookkeeping of the name's owner. Each case sets the word it
    // starts from, and counts change requests from where it starts.
    std::unique_ptr<TestSupport::DevmodeProcess> daemon;
    uint changesBefore = 0;

    bool startDaemon(uint radioStates)
    {
        if (!daemon->changeRadioStates(radioStates, 0x1f))
            return false;
        // Indications still on their way from earlier cases reach nobody:
        // they were sent before the reply, so they are queued here by now.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        changesBefore = daemon->lastRequest(QStringLiteral("req_radio_states_change")).count;
        return true;
    }

    uint changeRequests() const
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
        QCOMPARE(daemon->stop(), 0);
    }

    void cleanup()
    {
        QTRY_COMPARE(shownQuestions(), 0);
    }

    void onlineAsksNothing()
    {
        QVERIFY(startDaemon(0x1f));
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        QVERIFY(mode.currentStatus());
        QVERIFY(mode.requestExit());
        mode.requestExitAsync();
        QCOMPARE(shownQuestions(), 0);
        QCOMPARE(changeRequests(), 0u);
        // A daemon round trip later still nothing.
        QVERIFY(daemon->lastRequest(QStringLiteral("get_radio_states")).count >= 1);
        QCoreApplication::processEvents();
        QCOMPARE(status.count(), 0);
    }

    void setSpeaksOfOfflineMode()
    {
        QVERIFY(startDaemon(0x1f));
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        mode.set(true);
        QTRY_COMPARE(statuses(status), QStringList{QStringLiteral("offline")});
        QCOMPARE(daemon->lastRequest(QStringLiteral("req_radio_states_change")).args,
                 (QList<QVariant>{0u, 1u}));
        QVERIFY(!mode.currentStatus());
        mode.set(false);
        QTRY_COMPARE(status.count(), 2);
        QCOMPARE(daemon->lastRequest(QStringLiteral("req_radio_states_change")).args,
                 (QList<QVariant>{1u, 1u}));
        QVERIFY(mode.currentStatus());
    }

    void blockingQuestion_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("result");
        QTest::newRow("yes") << int(M::YesButton) << true;
        QTest::newRow("no") << int(M::NoButton) << false;
    }

    void blockingQuestion()
    {
        QFETCH(int, button);
        QFETCH(bool, result);
        QVERIFY(startDaemon(0x1e));
        OfflineMode mode;
        QVERIFY(!mode.currentStatus());
        Answerer answerer{M::StandardButton(button)};
        QCOMPARE(mode.requestExit(), result);
        QVERIFY(answerer.answered);
        if (result) {
            QTRY_COMPARE(changeRequests(), 1u);
            QCOMPARE(daemon->lastRequest(QStringLiteral("req_radio_states_change")).args,
                     (QList<QVariant>{1u, 1u}));
            QTRY_VERIFY(mode.currentStatus());
        } else {
            QCOMPARE(changeRequests(), 0u);
            QVERIFY(!mode.currentStatus());
        }
    }

    void theQuestionSpeaksTheCatalogue()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode mode;
        mode.requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        QCOMPARE(shownQuestion()->text(), QStringLiteral("Exit offline mode?"));
        QVERIFY(shownQuestion()->isSystem());
        QVERIFY(answer(M::NoButton));
    }

    void asynchronousDecline()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode first;
        OfflineMode second;
        QSignalSpy firstStatus(&first, &OfflineMode::status);
        QSignalSpy secondStatus(&second, &OfflineMode::status);
        first.requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        QVERIFY(answer(M::NoButton));
        QTRY_COMPARE(statuses(firstStatus), QStringList{QStringLiteral("offline")});
        QCOMPARE(statuses(secondStatus), QStringList{QStringLiteral("offline")});
        QCOMPARE(changeRequests(), 0u);
    }

    void asynchronousConsentWaitsForTheDaemon()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode first;
        OfflineMode second;
        QSignalSpy firstStatus(&first, &OfflineMode::status);
        QSignalSpy secondStatus(&second, &OfflineMode::status);
        second.requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        QVERIFY(answer(M::YesButton));
        // Right after the tap nothing is reported: the daemon has the word.
        QCOMPARE(firstStatus.count(), 0);
        QTRY_COMPARE(statuses(firstStatus), QStringList{QStringLiteral("online")});
        QTRY_COMPARE(statuses(secondStatus), QStringList{QStringLiteral("online")});
        QCOMPARE(daemon->lastRequest(QStringLiteral("req_radio_states_change")).args,
                 (QList<QVariant>{1u, 1u}));
    }

    void theRadioComingOnAnswersTheQuestion()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        mode.requestExitAsync();
        QTRY_VERIFY(shownQuestion());

        // Still off: nothing is said while the question is on screen. A
        // radio state of our own tells when the indications have gone round.
        Pavane::RadioState probe(Pavane::RadioState::WLAN);
        QSignalSpy probed(&probe, &Pavane::RadioState::enabledChanged);
        QVERIFY(daemon->changeRadioStates(0, 0));
        QVERIFY(daemon->changeRadioStates(0, 0x04));
        QTRY_COMPARE(probed.count(), 3); // its first answer, then the two indications
        QVERIFY(shownQuestion());
        QCOMPARE(status.count(), 0);

        // On by other means: the question goes, and everyone hears "online".
        QVERIFY(daemon->changeRadioStates(1, 1));
        QTRY_COMPARE(statuses(status), QStringList{QStringLiteral("online")});
        QCOMPARE(shownQuestions(), 0);
    }

    void withTheQuestionClosedEveryIndicationIsReported()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode first;
        OfflineMode second;
        QSignalSpy firstStatus(&first, &OfflineMode::status);
        QSignalSpy secondStatus(&second, &OfflineMode::status);
        QVERIFY(daemon->changeRadioStates(0, 0));
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(statuses(firstStatus), (QStringList{QStringLiteral("offline"), QStringLiteral("offline")}));
        QTRY_COMPARE(secondStatus.count(), 2);
    }

    void objectsShareOneQuestion()
    {
        QVERIFY(startDaemon(0x1e));
        auto* first = new OfflineMode;
        OfflineMode second;
        QSignalSpy secondStatus(&second, &OfflineMode::status);
        first->requestExitAsync();
        second.requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        QCOMPARE(shownQuestions(), 1);
        delete first;
        second.requestExitAsync();
        QCOMPARE(shownQuestions(), 1);
        QVERIFY(answer(M::NoButton));
        QTRY_COMPARE(statuses(secondStatus), QStringList{QStringLiteral("offline")});
        // Asked again, the same dialog comes back.
        second.requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        QVERIFY(answer(M::NoButton));
        QTRY_COMPARE(secondStatus.count(), 2);
    }

    // A listener may destroy OfflineModes while a status goes round.
    void listenersMayDestroyOtherObjects()
    {
        QVERIFY(startDaemon(0x1e));
        OfflineMode* modes[3] = {new OfflineMode, new OfflineMode, new OfflineMode};
        int calls = 0;
        auto destroyOthers = [&] {
            ++calls;
            for (OfflineMode*& mode : modes) {
                if (mode && mode != sender()) {
                    delete mode;
                    mode = nullptr;
                }
            }
        };
        for (OfflineMode* mode : modes)
            connect(mode, &OfflineMode::status, this, destroyOthers);
        QVERIFY(daemon->changeRadioStates(0, 0));
        QTRY_COMPARE(calls, 1);
        for (OfflineMode* mode : modes)
            delete mode;
    }

    void theLastObjectTakesTheQuestionWithIt()
    {
        QVERIFY(startDaemon(0x1e));
        auto* mode = new OfflineMode;
        mode->requestExitAsync();
        QTRY_VERIFY(shownQuestion());
        delete mode;
        QCOMPARE(shownQuestions(), 0);
        OfflineMode again;
        QVERIFY(!again.currentStatus());
    }

    void metaObject()
    {
        const QMetaObject& mo = OfflineMode::staticMetaObject;
        QCOMPARE(mo.methodCount() - mo.methodOffset(), 3);
        QCOMPARE(mo.method(mo.methodOffset()).methodSignature(), QByteArray("status(bool)"));
        QCOMPARE(mo.method(mo.methodOffset()).parameterNames(), QList<QByteArray>{"enabled"});
        QCOMPARE(mo.method(mo.methodOffset() + 1).methodSignature(), QByteArray("requestExit()"));
        QCOMPARE(mo.method(mo.methodOffset() + 1).returnType(), int(QMetaType::Bool));
        QCOMPARE(mo.method(mo.methodOffset() + 2).methodSignature(), QByteArray("requestExitAsync()"));
    }
};

QTEST_MAIN(TestOfflineMode)
#include "tst_offlinemode.moc"

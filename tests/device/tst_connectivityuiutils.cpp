// ConnectivityUIUtils' lock and display requests, as devmoded receives them.
#include <Pavane/ConnectivityUIUtils>

#include "testsupport.h"

#include <QDBusError>
#include <QtTest>

using Pavane::ConnectivityUIUtils;

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

class TestConnectivityUIUtils : public QObject
{
    Q_OBJECT

private:
    TestSupport::DevmodeProcess daemon;

    TestSupport::DevmodeProcess::Request displayRequest() const
    {
        return daemon.lastRequest(QStringLiteral("req_display_state_on"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(daemon.start({QStringLiteral("--tklock"), QStringLiteral("locked"),
                              QStringLiteral("--display"), QStringLiteral("off")}));
    }

    void unlockScreenSendsOneCallWithoutAwaitingAReply()
    {
        ConnectivityUIUtils::unlockScreen();
        QTRY_COMPARE(daemon.tklockMode(), QStringLiteral("unlocked"));
        const auto request = daemon.lastRequest(QStringLiteral("req_tklock_mode_change"));
        QCOMPARE(request.count, 1u);
        QCOMPARE(request.args, QList<QVariant>{QStringLiteral("unlocked")});
        QVERIFY(!request.replyExpected);
    }

    // Only a receiver with both a return and an error method makes the call
    // await a reply; every other form is sent and forgotten.
    void unblankDisplay()
    {
        Receiver receiver;
        ConnectivityUIUtils::unblankDisplay();
        QTRY_COMPARE(displayRequest().count, 1u);
        QCOMPARE(daemon.displayState(), QStringLiteral("on"));
        QVERIFY(!displayRequest().replyExpected);
        QVERIFY(displayRequest().args.isEmpty());

        ConnectivityUIUtils::unblankDisplay(nullptr, SLOT(onReply()), SLOT(onError(QDBusError)), 100);
        QTRY_COMPARE(displayRequest().count, 2u);
        QVERIFY(!displayRequest().replyExpected);
        ConnectivityUIUtils::unblankDisplay(&receiver, SLOT(onReply()), nullptr, 5000);
        QTRY_COMPARE(displayRequest().count, 3u);
        QVERIFY(!displayRequest().replyExpected);
        // A round trip later, the receiver has still heard nothing.
        QCOMPARE(daemon.displayState(), QStringLiteral("on"));
        QCoreApplication::processEvents();
        QCOMPARE(receiver.replies, 0);

        ConnectivityUIUtils::unblankDisplay(&receiver, SLOT(onReply()), SLOT(onError(QDBusError)), 5000);
        QTRY_COMPARE(receiver.replies, 1);
        QVERIFY(receiver.errors.isEmpty());
        QCOMPARE(displayRequest().count, 4u);
        QVERIFY(displayRequest().replyExpected);
    }

    void theErrorMethodHearsOfAMissingDaemon()
    {
        QCOMPARE(daemon.stop(), 0);
        Receiver receiver;
        ConnectivityUIUtils::unblankDisplay(&receiver, SLOT(onReply()), SLOT(onError(QDBusError)));
        QTRY_COMPARE(receiver.errors, QStringList{"org.freedesktop.DBus.Error.ServiceUnknown"});
        QCOMPARE(receiver.replies, 0);
        ConnectivityUIUtils::unlockScreen(); // nobody there: nothing happens, nothing breaks
    }
};

QTEST_GUILESS_MAIN(TestConnectivityUIUtils)
#include "tst_connectivityuiutils.moc"

#include <Pavane/DBusDispatcher>

#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QScopedPointer>
#include <QtTest>

using Pavane::DBusDispatcher;
using TestSupport::describe;

namespace {

const QString PeerName = QLatin1String(TestSupport::PeerProcess::ServiceName);
const QString TestPath = QStringLiteral("/com/zelkor/pavane/test");
const QString SignalPath = QStringLiteral("/com/zelkor/pavane/test/signals");
const QString TestInterface = QStringLiteral("com.zelkor.pavane.Test");
// Hosts connect by these signatures, so the spies use them too.
const char* const ReplySignal = SIGNAL(callReply(QString,QList<QVariant>,QString));
const char* const SignalSignal = SIGNAL(signalReceived(QString,QString,QList<QVariant>));

} // namespace

class TestDBusDispatcher : public QObject
{
    Q_OBJECT

private:
    TestSupport::PeerProcess peer;
    DBusDispatcher* dispatcher = nullptr;

    // The peer sends the signal to the caller only.
    static void emitFromPeer(DBusDispatcher* asker, const QString& path, const QString& member,
                             const QVariant& arg = {})
    {
        asker->call(QStringLiteral("Emit"), path, QStringLiteral("com.zelkor.A"), member, arg);
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(peer.start());
        dispatcher = new DBusDispatcher(PeerName, TestPath, TestInterface, SignalPath, this);
    }

    // Blocking and asynchronous calls alike; a failed blocking call gives an
    // empty list, quietly, and the asynchronous one names the error.
    void replies_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariant>("arg1");
        QTest::addColumn<QVariant>("arg2");
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("error");

        const QStringList names{QStringLiteral("home"), QStringLiteral("office")};
        QTest::newRow("arguments") << PeerName << "Echo" << QVariant(names) << QVariant(42)
                                   << describe(QList<QVariant>{names, 42}) << QString();
        QTest::newRow("no arguments") << PeerName << "Return" << QVariant("nothing") << QVariant()
                                      << describe(QList<QVariant>{}) << QString();
        QTest::newRow("error reply") << PeerName << "Fail" << QVariant("com.zelkor.Error.Boom")
                                     << QVariant("boom") << describe(QList<QVariant>{})
                                     << "com.zelkor.Error.Boom";
        QTest::newRow("unknown method") << PeerName << "NoSuchMethod" << QVariant() << QVariant()
                                        << describe(QList<QVariant>{})
                                        << "org.freedesktop.DBus.Error.UnknownMethod";
        QTest::newRow("missing service") << "com.zelkor.pavane.Nobody" << "Echo" << QVariant(1)
                                         << QVariant() << describe(QList<QVariant>{})
                                         << "org.freedesktop.DBus.Error.ServiceUnknown";
    }

    void replies()
    {
        QFETCH(QString, service);
        QFETCH(QString, method);
        QFETCH(QVariant, arg1);
        QFETCH(QVariant, arg2);
        QFETCH(QString, args);
        QFETCH(QString, error);
        DBusDispatcher target(service, TestPath, TestInterface);
        TestSupport::MessageLog log;
        QCOMPARE(describe(target.call(method, arg1, arg2)), args);

        QSignalSpy replies(&target, ReplySignal);
        QVERIFY(target.callAsynchronous(method, arg1, arg2));
        // Whatever synchronousDispatch reads, the signal waits for the event
        // loop: it must never be emitted from inside a libdbus callback.
        for (int i = 0; i < 3; ++i)
            QVERIFY(target.synchronousDispatch(100));
        QCOMPARE(replies.count(), 0);
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(0).toString(), method);
        QCOMPARE(describe(replies.at(0).at(1).toList()), args);
        const QString reportedError = replies.at(0).at(2).toString();
        QCOMPARE(reportedError, error);
        QCOMPARE(reportedError.isNull(), error.isNull());
        QCOMPARE(log.messages(), QStringList());
    }

    // Replies come in the order they arrive, each once, also those that
    // complete before their handler is installed.
    void manyCallsInFlightAreEachAnsweredOnce()
    {
        QSignalSpy replies(dispatcher, ReplySignal);
        QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("first")));
        const int count = 500;
        for (int i = 0; i < count; ++i)
            QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Echo"), i));
        QTRY_COMPARE(replies.count(), count);
        QSet<int> seen;
        for (const QList<QVariant>& reply : qAsConst(replies)) {
            QCOMPARE(reply.at(0).toString(), QStringLiteral("Echo"));
            QCOMPARE(reply.at(2).toString(), QString());
            seen.insert(reply.at(1).toList().value(0).toInt());
        }
        QCOMPARE(seen.size(), count);

        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("first")), QList<QVariant>());
        QTRY_COMPARE(replies.count(), count + 1);
        QCOMPARE(replies.last().at(0).toString(), QStringLiteral("Hold"));
        QCOMPARE(replies.last().at(1).toList(), QList<QVariant>{QStringLiteral("first")});
    }

    void destructionWithCallsInFlight()
    {
        int repliesAfterDestruction = 0;
        {
            QScopedPointer<DBusDispatcher> doomed(new DBusDispatcher(PeerName, TestPath, TestInterface));
            connect(doomed.data(), &DBusDispatcher::callReply, this, [&] { ++repliesAfterDestruction; });
            QVERIFY(doomed->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("doomed")));
            // This reply is read and queued, but not yet delivered.
            QVERIFY(doomed->callAsynchronous(QStringLiteral("Echo"), 1));
            for (int i = 0; i < 5; ++i)
                doomed->synchronousDispatch(100);
        }
        // The held call is answered to a connection that is gone.
        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("doomed")), QList<QVariant>());
        QCOMPARE(dispatcher->call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QCoreApplication::processEvents();
        QCOMPARE(repliesAfterDestruction, 0);
    }

    // A receiver may delete the dispatcher from inside either signal; what is
    // still queued or in flight for it then goes nowhere, also the reply to a
    // call that is answered only after it is gone.
    void receiverDeletesTheDispatcher_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("replies") << "Echo";
        QTest::newRow("error replies") << "Fail";
        QTest::newRow("signals") << "Emit";
        QTest::newRow("deprecated reply") << "emitCallReply";
        QTest::newRow("deprecated signal") << "emitSignalReceived";
    }

    void receiverDeletesTheDispatcher()
    {
        QFETCH(QString, trigger);
        QPointer<DBusDispatcher> doomed(new DBusDispatcher(PeerName, TestPath, TestInterface, SignalPath));
        int emissions = 0;
        const auto deleteIt = [&] { ++emissions; delete doomed.data(); };
        const auto countLater = [&] { ++emissions; };
        connect(doomed.data(), &DBusDispatcher::callReply, this, deleteIt);
        connect(doomed.data(), &DBusDispatcher::signalReceived, this, deleteIt);
        connect(doomed.data(), &DBusDispatcher::callReply, this, countLater);
        connect(doomed.data(), &DBusDispatcher::signalReceived, this, countLater);
        QVERIFY(doomed->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("late")));

        if (trigger == QLatin1String("emitCallReply")) {
            QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitCallReply() is DEPRECATED, don't use!");
            doomed->emitCallReply(QStringLiteral("m"), {}, QString());
        } else if (trigger == QLatin1String("emitSignalReceived")) {
            QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitSignalReceived() is DEPRECATED, don't use!");
            doomed->emitSignalReceived(QStringLiteral("i"), QStringLiteral("s"), {});
        } else if (trigger == QLatin1String("Emit")) {
            emitFromPeer(doomed, SignalPath, QStringLiteral("First"));
            emitFromPeer(doomed, SignalPath, QStringLiteral("Second"));
        } else {
            for (int i = 0; i < 2; ++i)
                QVERIFY(doomed->callAsynchronous(trigger, QStringLiteral("com.zelkor.Error.E%1").arg(i), i));
        }
        QTRY_VERIFY(doomed.isNull());
        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("late")), QList<QVariant>());
        QCOMPARE(dispatcher->call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QTest::qWait(50);
        QCOMPARE(emissions, 1);
    }

    void signalsOnTheSignalPathOnly()
    {
        QSignalSpy received(dispatcher, SignalSignal);
        emitFromPeer(dispatcher, SignalPath, QStringLiteral("Ping"), QStringList{QStringLiteral("x")});
        emitFromPeer(dispatcher, QStringLiteral("/elsewhere"), QStringLiteral("Lost"));
        emitFromPeer(dispatcher, TestPath, QStringLiteral("Lost"));
        emitFromPeer(dispatcher, SignalPath + QStringLiteral("/below"), QStringLiteral("Lost"));
        emitFromPeer(dispatcher, SignalPath, QStringLiteral("Pong"));

        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("com.zelkor.A"));
        QCOMPARE(received.at(0).at(1).toString(), QStringLiteral("Ping"));
        QCOMPARE(describe(received.at(0).at(2).toList()),
                 describe(QList<QVariant>{QStringList{QStringLiteral("x")}}));
        QCOMPARE(received.at(1).at(1).toString(), QStringLiteral("Pong"));
        QVERIFY(received.at(1).at(2).toList().isEmpty());

        // Method calls to the signal path are not swallowed: their callers
        // would wait for a reply that never comes.
        const QString self = dispatcher->call(QStringLiteral("WhoAmI")).value(0).toString();
        const QDBusMessage poke = QDBusMessage::createMethodCall(
            self, SignalPath, QStringLiteral("com.zelkor.A"), QStringLiteral("Poke"));
        QDBusPendingCallWatcher watcher(QDBusConnection::systemBus().asyncCall(poke));
        QTRY_VERIFY(watcher.isFinished());
        QCOMPARE(watcher.error().type(), QDBusError::UnknownMethod);
        QCOMPARE(received.count(), 2);

        // Without a signal path of its own, a dispatcher listens on the call path.
        DBusDispatcher onCallPath(PeerName, TestPath, TestInterface);
        QSignalSpy heard(&onCallPath, SignalSignal);
        emitFromPeer(&onCallPath, SignalPath, QStringLiteral("Lost"));
        emitFromPeer(&onCallPath, TestPath, QStringLiteral("Seen"));
        QTRY_COMPARE(heard.count(), 1);
        QCOMPARE(heard.at(0).at(1).toString(), QStringLiteral("Seen"));
    }

    // Malformed names would make libdbus abort the host; they are refused
    // with a warning instead, and nothing goes out.
    void invalidNamesSendNothing_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("method");

        QTest::newRow("service without dot") << "nodot" << TestPath << TestInterface << "Echo";
        QTest::newRow("service beyond Latin-1") << "com.zelkor.Ωmega" << TestPath << TestInterface << "Echo";
        QTest::newRow("relative path") << PeerName << "com/zelkor" << TestInterface << "Echo";
        QTest::newRow("path with trailing slash") << PeerName << "/com/" << TestInterface << "Echo";
        QTest::newRow("interface with dash") << PeerName << TestPath << "com.zel-kor" << "Echo";
        QTest::newRow("method with digit first") << PeerName << TestPath << TestInterface << "1Echo";
        QTest::newRow("method with NUL") << PeerName << TestPath << TestInterface
                                         << QString::fromLatin1("Echo\0x", 6);
    }

    void invalidNamesSendNothing()
    {
        QFETCH(QString, service);
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, method);
        DBusDispatcher bad(service, path, interface, SignalPath);
        QSignalSpy replies(&bad, ReplySignal);
        const QRegularExpression warning(QStringLiteral("invalid D-Bus name"));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(bad.call(method, 1).isEmpty());
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!bad.callAsynchronous(method, 1));
        QCoreApplication::processEvents();
        QCOMPARE(replies.count(), 0);
    }

    // The protocol allows a call without interface; a bad signal path only
    // costs the signals.
    void namesThatStillAllowCalls()
    {
        DBusDispatcher noInterface(PeerName, TestPath, QString());
        QCOMPARE(noInterface.call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("invalid signal path")));
        DBusDispatcher noSignals(PeerName, TestPath, TestInterface, QStringLiteral("not/a/path"));
        QCOMPARE(noSignals.call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
    }
};

QTEST_GUILESS_MAIN(TestDBusDispatcher)
#include "tst_dbusdispatcher.moc"

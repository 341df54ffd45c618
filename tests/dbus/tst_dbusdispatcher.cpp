#include <Pavane/DBusDispatcher>

#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaMethod>
#include <QScopedPointer>
#include <QtTest>

using Pavane::DBusDispatcher;
using TestSupport::describe;

namespace {

const QString TestPath = QStringLiteral("/com/zelkor/pavane/test");
const QString SignalPath = QStringLiteral("/com/zelkor/pavane/test/signals");
const QString TestInterface = QStringLiteral("com.zelkor.pavane.Test");
const char* const ReplySignal = SIGNAL(callReply(QString,QList<QVariant>,QString));
const char* const SignalSignal = SIGNAL(signalReceived(QString,QString,QList<QVariant>));

DBusDispatcher* newPeerDispatcher(QObject* parent, const QString& signalPath = SignalPath)
{
    return new DBusDispatcher(QLatin1String(TestSupport::PeerProcess::ServiceName), TestPath,
                              TestInterface, signalPath, parent);
}

} // namespace

class TestDBusDispatcher : public QObject
{
    Q_OBJECT

private:
    TestSupport::PeerProcess peer;
    DBusDispatcher* dispatcher = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(peer.start());
        dispatcher = newPeerDispatcher(this);
    }

    void blockingCallReturnsTheReplyArguments()
    {
        const QStringList names{QStringLiteral("home"), QStringLiteral("office")};
        const QByteArray key(1024, '\x5a');
        const QList<QVariant> reply = dispatcher->call(QStringLiteral("Echo"),
                                                       QStringLiteral("wlan0"), 42, names, key);
        QCOMPARE(describe(reply), describe(QList<QVariant>{QStringLiteral("wlan0"), 42, names, key}));
    }

    void blockingCallFailuresGiveAnEmptyList()
    {
        TestSupport::MessageLog log;
        QVERIFY(dispatcher->call(QStringLiteral("Fail"), QStringLiteral("com.zelkor.Error.Boom"),
                                 QStringLiteral("boom")).isEmpty());
        QVERIFY(dispatcher->call(QStringLiteral("NoSuchMethod")).isEmpty());
        DBusDispatcher nobody(QStringLiteral("com.zelkor.pavane.Nobody"), TestPath, TestInterface);
        QVERIFY(nobody.call(QStringLiteral("Echo"), 1).isEmpty());
        QCOMPARE(log.messages(), QStringList());
    }

    void asynchronousReplies_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariant>("arg1");
        QTest::addColumn<QVariant>("arg2");
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("error");

        QTest::newRow("arguments") << "Echo" << QVariant(7) << QVariant("x")
                                   << describe(QList<QVariant>{7, "x"}) << QString();
        QTest::newRow("no arguments") << "Return" << QVariant("nothing") << QVariant()
                                      << describe(QList<QVariant>{}) << QString();
        QTest::newRow("error reply") << "Fail" << QVariant("com.zelkor.Error.Boom")
                                     << QVariant("boom") << describe(QList<QVariant>{})
                                     << "com.zelkor.Error.Boom";
        QTest::newRow("unknown method") << "NoSuchMethod" << QVariant() << QVariant()
                                        << describe(QList<QVariant>{})
                                        << "org.freedesktop.DBus.Error.UnknownMethod";
    }

    void asynchronousReplies()
    {
        QFETCH(QString, method);
        QFETCH(QVariant, arg1);
        QFETCH(QVariant, arg2);
        QFETCH(QString, args);
        QFETCH(QString, error);
        QSignalSpy replies(dispatcher, ReplySignal);
        QVERIFY(dispatcher->callAsynchronous(method, arg1, arg2));
        QCOMPARE(replies.count(), 0);
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(0).toString(), method);
        QCOMPARE(describe(replies.at(0).at(1).toList()), args);
        const QString reportedError = replies.at(0).at(2).toString();
        QCOMPARE(reportedError, error);
        QCOMPARE(reportedError.isNull(), error.isNull());
    }

    void asynchronousCallToAMissingService()
    {
        DBusDispatcher nobody(QStringLiteral("com.zelkor.pavane.Nobody"), TestPath, TestInterface);
        QSignalSpy replies(&nobody, ReplySignal);
        QVERIFY(nobody.callAsynchronous(QStringLiteral("Echo")));
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(2).toString(),
                 QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
    }

    void repliesComeInTheOrderTheyArrive()
    {
        QSignalSpy replies(dispatcher, ReplySignal);
        QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("first")));
        QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Echo"), QStringLiteral("second")));
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(0).toString(), QStringLiteral("Echo"));

        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("first")),
                 QList<QVariant>());
        QTRY_COMPARE(replies.count(), 2);
        QCOMPARE(replies.at(1).at(0).toString(), QStringLiteral("Hold"));
        QCOMPARE(replies.at(1).at(1).toList(), QList<QVariant>{QStringLiteral("first")});
    }

    void manyCallsInFlightAreEachAnsweredOnce()
    {
        QSignalSpy replies(dispatcher, ReplySignal);
        const int count = 500;
        for (int i = 0; i < count; ++i)
            QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Echo"), i));
        QTRY_COMPARE(replies.count(), count);
        QSet<int> seen;
        for (const QList<QVariant>& reply : qAsConst(replies)) {
            QCOMPARE(reply.at(2).toString(), QString());
            seen.insert(reply.at(1).toList().value(0).toInt());
        }
        QCOMPARE(seen.size(), count);
    }

    void signalsAreEmittedFromTheEventLoopOnly()
    {
        QSignalSpy replies(dispatcher, ReplySignal);
        QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Echo"), 1));
        // Whatever synchronousDispatch reads and dispatches, the public signal
        // waits for the event loop.
        for (int i = 0; i < 5; ++i)
            QVERIFY(dispatcher->synchronousDispatch(100));
        QCOMPARE(replies.count(), 0);
        QTRY_COMPARE(replies.count(), 1);
    }

    void destructionWithCallsInFlight()
    {
        int repliesAfterDestruction = 0;
        {
            QScopedPointer<DBusDispatcher> doomed(newPeerDispatcher(nullptr));
            connect(doomed.data(), &DBusDispatcher::callReply, this,
                    [&] { ++repliesAfterDestruction; });
            QVERIFY(doomed->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("doomed")));
            // This reply is read and queued, but not yet delivered.
            QVERIFY(doomed->callAsynchronous(QStringLiteral("Echo"), 1));
            for (int i = 0; i < 5; ++i)
                doomed->synchronousDispatch(100);
        }
        // The held call is answered to a connection that is gone.
        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("doomed")),
                 QList<QVariant>());
        QCOMPARE(dispatcher->call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QCoreApplication::processEvents();
        QCOMPARE(repliesAfterDestruction, 0);
    }

    void signalsOnTheSignalPathOnly()
    {
        QSignalSpy received(dispatcher, SignalSignal);
        auto emitSignal = [this](const QString& path, const QString& interface,
                                 const QString& member, const QVariant& arg = QVariant()) {
            return dispatcher->call(QStringLiteral("Emit"), path, interface, member, arg);
        };
        emitSignal(SignalPath, QStringLiteral("com.zelkor.A"), QStringLiteral("Ping"),
                   QStringList{QStringLiteral("x")});
        emitSignal(QStringLiteral("/elsewhere"), QStringLiteral("com.zelkor.A"), QStringLiteral("Lost"));
        emitSignal(TestPath, QStringLiteral("com.zelkor.A"), QStringLiteral("Lost"));
        emitSignal(SignalPath + QStringLiteral("/below"), QStringLiteral("com.zelkor.A"),
                   QStringLiteral("Lost"));
        emitSignal(SignalPath, QStringLiteral("com.zelkor.B"), QStringLiteral("Pong"));

        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("com.zelkor.A"));
        QCOMPARE(received.at(0).at(1).toString(), QStringLiteral("Ping"));
        QCOMPARE(describe(received.at(0).at(2).toList()),
                 describe(QList<QVariant>{QStringList{QStringLiteral("x")}}));
        QCOMPARE(received.at(1).at(0).toString(), QStringLiteral("com.zelkor.B"));
        QCOMPARE(received.at(1).at(1).toString(), QStringLiteral("Pong"));
        QVERIFY(received.at(1).at(2).toList().isEmpty());
    }

    void signalPathDefaultsToTheCallPath()
    {
        DBusDispatcher onCallPath(QLatin1String(TestSupport::PeerProcess::ServiceName), TestPath,
                                  TestInterface);
        QSignalSpy received(&onCallPath, SignalSignal);
        onCallPath.call(QStringLiteral("Emit"), SignalPath, QStringLiteral("com.zelkor.A"),
                        QStringLiteral("Lost"));
        onCallPath.call(QStringLiteral("Emit"), TestPath, QStringLiteral("com.zelkor.A"),
                        QStringLiteral("Seen"), 3u);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(1).toString(), QStringLiteral("Seen"));
        QCOMPARE(describe(received.at(0).at(2).toList()), describe(QList<QVariant>{3u}));
    }

    void methodCallsToTheSignalPathAreNotHandled()
    {
        QSignalSpy received(dispatcher, SignalSignal);
        const QString self = dispatcher->call(QStringLiteral("WhoAmI")).value(0).toString();
        QVERIFY(self.startsWith(QLatin1Char(':')));

        QDBusMessage poke = QDBusMessage::createMethodCall(self, SignalPath,
                                                           QStringLiteral("com.zelkor.A"),
                                                           QStringLiteral("Poke"));
        QDBusPendingCallWatcher watcher(QDBusConnection::systemBus().asyncCall(poke));
        QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(watcher.isError());
        QCOMPARE(watcher.error().type(), QDBusError::UnknownMethod);
        QCOMPARE(received.count(), 0);
    }

    void theBusDaemonAsAPeer()
    {
        DBusDispatcher bus(QStringLiteral("org.freedesktop.DBus"),
                           QStringLiteral("/org/freedesktop/DBus"),
                           QStringLiteral("org.freedesktop.DBus"));
        const QString peerName = QLatin1String(TestSupport::PeerProcess::ServiceName);

        const QList<QVariant> names = bus.call(QStringLiteral("ListNames"));
        QCOMPARE(names.size(), 1);
        QCOMPARE(names.first().type(), QVariant::StringList);
        QVERIFY(names.first().toStringList().contains(peerName));

        QCOMPARE(describe(bus.call(QStringLiteral("NameHasOwner"), peerName)),
                 describe(QList<QVariant>{true}));
        QCOMPARE(describe(bus.call(QStringLiteral("GetConnectionUnixProcessID"), peerName)),
                 describe(QList<QVariant>{uint(peer.pid())}));
        QVERIFY(bus.call(QStringLiteral("GetNameOwner"), QStringLiteral("com.zelkor.Nobody")).isEmpty());

        QSignalSpy replies(&bus, ReplySignal);
        QVERIFY(bus.callAsynchronous(QStringLiteral("GetNameOwner"), QStringLiteral("com.zelkor.Nobody")));
        QVERIFY(bus.callAsynchronous(QStringLiteral("GetNameOwner"), peerName));
        QTRY_COMPARE(replies.count(), 2);
        QCOMPARE(replies.at(0).at(2).toString(),
                 QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"));
        QVERIFY(replies.at(1).at(1).toList().value(0).toString().startsWith(QLatin1Char(':')));
    }

    void invalidNamesSendNothing_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("method");

        const QString service = QLatin1String(TestSupport::PeerProcess::ServiceName);
        QTest::newRow("empty service") << "" << TestPath << TestInterface << "Echo";
        QTest::newRow("service without dot") << "nodot" << TestPath << TestInterface << "Echo";
        QTest::newRow("service beyond Latin-1") << "com.zelkor.Ωmega" << TestPath << TestInterface
                                                << "Echo";
        QTest::newRow("empty path") << service << "" << TestInterface << "Echo";
        QTest::newRow("relative path") << service << "com/zelkor" << TestInterface << "Echo";
        QTest::newRow("path with trailing slash") << service << "/com/" << TestInterface << "Echo";
        QTest::newRow("interface without dot") << service << TestPath << "nodot" << "Echo";
        QTest::newRow("interface with dash") << service << TestPath << "com.zel-kor" << "Echo";
        QTest::newRow("empty method") << service << TestPath << TestInterface << "";
        QTest::newRow("method with dot") << service << TestPath << TestInterface << "Ec.ho";
        QTest::newRow("method with digit first") << service << TestPath << TestInterface << "1Echo";
        QTest::newRow("method with NUL") << service << TestPath << TestInterface
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

    void emptyInterfaceSendsACallWithoutInterface()
    {
        DBusDispatcher noInterface(QLatin1String(TestSupport::PeerProcess::ServiceName), TestPath,
                                   QString());
        QCOMPARE(noInterface.call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
    }

    void invalidSignalPathStillCalls()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("invalid signal path")));
        DBusDispatcher noSignals(QLatin1String(TestSupport::PeerProcess::ServiceName), TestPath,
                                 TestInterface, QStringLiteral("not/a/path"));
        QCOMPARE(noSignals.call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
    }

    void deprecatedEmittersSignalAtOnce()
    {
        QSignalSpy replies(dispatcher, ReplySignal);
        QSignalSpy received(dispatcher, SignalSignal);
        QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitCallReply() is DEPRECATED, don't use!");
        dispatcher->emitCallReply(QStringLiteral("m"), {1}, QStringLiteral("e"));
        QCOMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0), (QList<QVariant>{"m", QVariant(QList<QVariant>{1}), "e"}));
        QTest::ignoreMessage(QtWarningMsg,
                             "DBusDispatcher::emitSignalReceived() is DEPRECATED, don't use!");
        dispatcher->emitSignalReceived(QStringLiteral("i"), QStringLiteral("s"), {2});
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.at(0), (QList<QVariant>{"i", "s", QVariant(QList<QVariant>{2})}));
    }

    void metaObjectDeclaresTheSignalsInOrder()
    {
        const QMetaObject& mo = DBusDispatcher::staticMetaObject;
        QCOMPARE(mo.methodCount() - mo.methodOffset(), 2);
        const QMetaMethod received = mo.method(mo.methodOffset());
        const QMetaMethod reply = mo.method(mo.methodOffset() + 1);
        // Hosts name the signals with these signatures.
        QCOMPARE(mo.indexOfSignal("signalReceived(QString,QString,QList<QVariant>)"),
                 received.methodIndex());
        QCOMPARE(received.parameterNames(), (QList<QByteArray>{"interface", "signal", "args"}));
        QCOMPARE(mo.indexOfSignal("callReply(QString,QList<QVariant>,QString)"), reply.methodIndex());
        QCOMPARE(reply.parameterNames(), (QList<QByteArray>{"method", "args", "error"}));
        QCOMPARE(mo.propertyCount() - mo.propertyOffset(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDBusDispatcher)
#include "tst_dbusdispatcher.moc"

// A dispatcher whose system bus cannot be reached. libdbus reads the bus
// address once per process, so this runs apart from the other suites.
#include <Pavane/DBusDispatcher>

#include <QtTest>

using Pavane::DBusDispatcher;

class TestDBusDispatcherWithoutBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(qgetenv("PAVANE_PRIVATE_BUSES") == "1");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/pavane/system_bus_socket");
    }

    void everyOperationAnswersWithoutCrashing()
    {
        QTest::ignoreMessage(QtDebugMsg, "Unable to get DBUS connection!");
        DBusDispatcher lonely(QStringLiteral("com.zelkor.pavane.TestPeer"),
                              QStringLiteral("/com/zelkor/pavane/test"),
                              QStringLiteral("com.zelkor.pavane.Test"));
        QSignalSpy replies(&lonely, SIGNAL(callReply(QString,QList<QVariant>,QString)));

        QVERIFY(lonely.call(QStringLiteral("Echo"), 1).isEmpty());
        QVERIFY(!lonely.callAsynchronous(QStringLiteral("Echo"), 1));
        QVERIFY(!lonely.synchronousDispatch(0));
        QVERIFY(!lonely.synchronousDispatch(-1));
        QCoreApplication::processEvents();
        QCOMPARE(replies.count(), 0);

        QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitCallReply() is DEPRECATED, don't use!");
        lonely.emitCallReply(QStringLiteral("m"), {}, QString());
        QCOMPARE(replies.count(), 1);
    }

    void invalidNamesAreStillRefusedQuietlyForTheBus()
    {
        // Without a connection nothing could be sent anyway; no warning is due.
        QTest::ignoreMessage(QtDebugMsg, "Unable to get DBUS connection!");
        DBusDispatcher bad(QStringLiteral("not a name"), QStringLiteral("relative"),
                           QStringLiteral("x"), QStringLiteral("also relative"));
        QVERIFY(bad.call(QStringLiteral("1bad")).isEmpty());
        QVERIFY(!bad.callAsynchronous(QStringLiteral("1bad")));
    }
};

QTEST_GUILESS_MAIN(TestDBusDispatcherWithoutBus)
#include "tst_dbusdispatcher_nobus.moc"

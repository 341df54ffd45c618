// notifyd and its bus. (The library's notification suite drives what it
// shows and what a tap sends back, and stops it with SIGTERM.)
#include "daemontest.h"

class TestNotifyd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneInstancePerBusAndNoneWithoutIt()
    {
        PrivateBus own;
        QVERIFY(own.start());
        own.serveAsDefault();
        const QStringList arguments{"--address", own.address};
        checkOneInstanceAndNoneWithoutBus(own, QStringLiteral(NOTIFYD_PATH), arguments, arguments,
                                          QStringLiteral("org.freedesktop.Notifications"));
    }
};

QTEST_GUILESS_MAIN(TestNotifyd)
#include "tst_notifyd.moc"

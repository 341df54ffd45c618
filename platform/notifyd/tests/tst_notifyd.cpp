// notifyd on a bus of the test's own: what a client publishes, what the
// person at the screen sees and taps, and what the client hears back.
#include "daemontest.h"

#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");

QList<QVariant> call(const QString& member, const QList<QVariant>& args = {}, const QString& interface = Service)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, interface, member);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message).arguments();
}

// What a person at the screen sees and does.
QList<QVariant> control(const QString& member, const QList<QVariant>& args = {})
{
    return call(member, args, QStringLiteral("com.zelkor.NotificationServer.Control"));
}

uint notify(uint replaces, const QString& summary, const QStringList& actions = {}, const QVariantMap& hints = {},
            int timeout = -1)
{
    return call("Notify", {"app", replaces, "icon", summary, "body", actions, hints, timeout}).value(0).toUInt();
}

} // namespace

// What the server says back: "closed <id> <reason>", "invoked <id> <key>".
class Heard : public QObject
{
    Q_OBJECT

public:
    QStringList events;

public Q_SLOTS:
    void closed(uint id, uint reason) { events.append(QStringLiteral("closed %1 %2").arg(id).arg(reason)); }
    void invoked(uint id, const QString& key) { events.append(QStringLiteral("invoked %1 %2").arg(id).arg(key)); }
};

class TestNotifyd : public QObject
{
    Q_OBJECT

    PrivateBus bus;
    DaemonProcess server{QStringLiteral(NOTIFYD_PATH), Service};
    QScopedPointer<Heard> heard;

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<QList<uint>>();
        QVERIFY(bus.start());
        bus.serveAsDefault();
    }

    void init()
    {
        QVERIFY(server.start());
        heard.reset(new Heard);
        QDBusConnection session = QDBusConnection::sessionBus();
        QVERIFY(session.connect(Service, Path, Service, "NotificationClosed", heard.data(), SLOT(closed(uint, uint))));
        QVERIFY(session.connect(Service, Path, Service, "ActionInvoked", heard.data(), SLOT(invoked(uint, QString))));
    }

    void cleanup() { QCOMPARE(server.stop(), 0); }

    // A tap invokes only an action key that the notification offers; the
    // notification then goes, unless it asked to stay.
    void taps_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("resident");
        QTest::addColumn<QString>("tapped");
        QTest::addColumn<QStringList>("events");
        const QStringList offered{"default", "Open"};
        QTest::newRow("default") << offered << false << "default" << QStringList{"invoked 1 default", "closed 1 2"};
        QTest::newRow("resident") << offered << true << "default" << QStringList{"invoked 1 default"};
        QTest::newRow("not offered") << offered << false << "other" << QStringList();
        QTest::newRow("a label") << offered << false << "Open" << QStringList();
        QTest::newRow("a key without label") << QStringList{"default"} << false << "default" << QStringList();
        QTest::newRow("no actions") << QStringList() << false << "default" << QStringList();
    }

    void taps()
    {
        QFETCH(QStringList, actions);
        QFETCH(bool, resident);
        QFETCH(QString, tapped);
        QFETCH(QStringList, events);
        QCOMPARE(notify(0, "tap me", actions, {{"resident", resident}}), 1u);
        QCOMPARE(control("Invoke", {1u, tapped}).value(0).toBool(), !events.isEmpty());
        QCOMPARE(qdbus_cast<QList<uint>>(control("Ids").value(0)).size(), events.size() == 2 ? 0 : 1);
        QTRY_COMPARE(heard->events, events);
    }

    // Shown, updated in place, replaced when gone, and closed in each way
    // with its reason.
    void lifecycle()
    {
        QCOMPARE(notify(0, "first", {}, {{"category", "device"}}), 1u);
        QCOMPARE(control("Get", {1u}), (QList<QVariant>{"first", "body", "icon", "device"}));
        QCOMPARE(notify(1, "updated"), 1u);
        QCOMPARE(control("Get", {1u}).value(0).toString(), QStringLiteral("updated"));
        QCOMPARE(notify(0, "expiring", {}, {}, 50), 2u);
        QCOMPARE(notify(0, "dismissed"), 3u);
        QVERIFY(control("Dismiss", {3u}).value(0).toBool());
        call("CloseNotification", {1u});
        QCOMPARE(notify(1, "replacing a gone one"), 4u);
        // The expiry may come at any point of the above.
        QTRY_COMPARE(QSet<QString>(heard->events.begin(), heard->events.end()),
                     (QSet<QString>{"closed 3 2", "closed 1 3", "closed 2 1"}));
        QCOMPARE(heard->events.size(), 3);
        QCOMPARE(qdbus_cast<QList<uint>>(control("Ids").value(0)), QList<uint>{4});
        QVERIFY(!control("Dismiss", {1u}).value(0).toBool());
        QCOMPARE(control("Get", {1u}).value(0).toString(), QString());
    }

    void oneInstancePerBusAndNoneWithoutIt()
    {
        PrivateBus own;
        QVERIFY(own.start());
        const QStringList arguments{"--address", own.address};
        checkOneInstanceAndNoneWithoutBus(own, QStringLiteral(NOTIFYD_PATH), arguments, arguments, Service);
    }
};

QTEST_GUILESS_MAIN(TestNotifyd)
#include "tst_notifyd.moc"

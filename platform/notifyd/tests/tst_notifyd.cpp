// notifyd on a bus of the test's own: what a client publishes, what the
// person at the screen sees and taps, and what the client hears back.
#include "daemontest.h"

#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage call(const QString& member, const QList<QVariant>& args = {},
                  const QString& interface = QStringLiteral("org.freedesktop.Notifications"))
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/Notifications"), interface, member);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message);
}

QDBusMessage control(const QString& member, const QList<QVariant>& args)
{
    return call(member, args, QStringLiteral("com.zelkor.NotificationServer.Control"));
}

uint notify(uint replaces, const QString& summary, const QStringList& actions = {}, const QVariantMap& hints = {},
            int timeout = -1)
{
    return call(QStringLiteral("Notify"), {"app", replaces, "icon", summary, "body", actions, hints, timeout})
        .arguments().value(0).toUInt();
}

QList<uint> shownIds()
{
    return qdbus_cast<QList<uint>>(control(QStringLiteral("Ids"), {}).arguments().value(0));
}

} // namespace

// What the server says back, in order: "closed <id> <reason>", "invoked <id> <key>".
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
    QScopedPointer<DaemonProcess> server;
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
        server.reset(new DaemonProcess(QStringLiteral(NOTIFYD_PATH), Service));
        QVERIFY(server->start());
        heard.reset(new Heard);
        QDBusConnection session = QDBusConnection::sessionBus();
        const QString path = QStringLiteral("/org/freedesktop/Notifications");
        QVERIFY(session.connect(Service, path, Service, "NotificationClosed", heard.data(), SLOT(closed(uint, uint))));
        QVERIFY(session.connect(Service, path, Service, "ActionInvoked", heard.data(), SLOT(invoked(uint, QString))));
    }

    void cleanup()
    {
        QCOMPARE(server->stop(), 0);
    }

    // A tap invokes only an action key the notification offers; the
    // notification then goes unless it asked to stay.
    void taps_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("resident");
        QTest::addColumn<QString>("tapped");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("default") << QStringList{"default", "Open"} << false << "default"
                                 << QStringList{"invoked 1 default", "closed 1 2"};
        QTest::newRow("resident") << QStringList{"default", "Open"} << true << "default" << QStringList{"invoked 1 default"};
        QTest::newRow("not offered") << QStringList{"default", "Open"} << false << "other" << QStringList();
        QTest::newRow("a label") << QStringList{"default", "Open"} << false << "Open" << QStringList();
        QTest::newRow("a key without label") << QStringList{"default"} << false << "default" << QStringList();
        QTest::newRow("no actions") << QStringList() << false << "default" << QStringList();
    }

    void taps()
    {
        QFETCH(QStringList, actions);
        QFETCH(bool, resident);
        QFETCH(QString, tapped);
        QFETCH(QStringList, events);
        const uint id = notify(0, "tap me", actions, {{"resident", resident}});
        QCOMPARE(id, 1u);
        QCOMPARE(control("Invoke", {id, tapped}).arguments().value(0).toBool(), !events.isEmpty());
        QCOMPARE(shownIds().size(), events.size() == 2 ? 0 : 1);
        QTRY_COMPARE(heard->events, events);
    }

    // Shown, updated in place, replaced when gone, and closed in each way
    // with its reason.
    void lifecycle()
    {
        const uint first = notify(0, "first", {}, {{"category", "device"}});
        QCOMPARE(control("Get", {first}).arguments(), (QList<QVariant>{"first", "body", "icon", "device"}));
        QCOMPARE(notify(first, "updated"), first);
        QCOMPARE(control("Get", {first}).arguments().value(0).toString(), QStringLiteral("updated"));
        const uint expiring = notify(0, "expiring", {}, {}, 50);
        const uint dismissed = notify(0, "dismissed");
        QVERIFY(control("Dismiss", {dismissed}).arguments().value(0).toBool());
        QCOMPARE(call("CloseNotification", {first}).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(notify(first, "replacing a gone one"), dismissed + 1);
        // The expiry may come at any point of the above.
        QStringList closed{QStringLiteral("closed %1 2").arg(dismissed), "closed 1 3",
                           QStringLiteral("closed %1 1").arg(expiring)};
        closed.sort();
        const auto heardSorted = [this] {
            QStringList events = heard->events;
            events.sort();
            return events;
        };
        QTRY_COMPARE(heardSorted(), closed);
        QCOMPARE(shownIds(), QList<uint>{dismissed + 1});
        QVERIFY(!control("Dismiss", {first}).arguments().value(0).toBool());
        QCOMPARE(control("Get", {first}).arguments().value(0).toString(), QString());
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

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Notifications against a server on the test's own session bus: what goes over the bus, taps that make
// the remote action's call, and servers that close notifications, lie, vanish or restart.
#include <MNotification>
#include <MRemoteAction>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QPointer>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
using Calls = QList<QPair<QString, QList<QVariant>>>;

// Tells of every call to any of its paths and answers Notify with a new id
// (or the one to replace). It lives in a thread of its own: publish() blocks.
class Server : public QDBusVirtualObject
{
    Q_OBJECT
public:
    uint lastId = 0;
    std::atomic<bool> answerWithText{false};
    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        Q_EMIT called(message.path() + QLatin1Char(' ') + message.member(), message.arguments());
        const uint replaced = message.arguments().value(1).toUInt();
        const QVariant id = answerWithText ? QVariant(QStringLiteral("1")) : QVariant(replaced ? replaced : ++lastId);
        connection.send(message.member() == QLatin1String("Notify") ? message.createReply(id) : message.createReply());
        return true;
    }
Q_SIGNALS:
    void called(const QString& what, const QList<QVariant>& arguments);
};

} // namespace

class TestNotification : public QObject
{
    Q_OBJECT
    QThread thread;
    QPointer<Server> server;
    QString name;
    Calls calls;

    void startServer()
    {
        server = new Server;
        connect(server.data(), &Server::called, this,
                [this](const QString& what, const QList<QVariant>& arguments) { calls.append({what, arguments}); });
        name = QStringLiteral("server%1").arg(quintptr(server.data()));
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        QVERIFY(bus.registerVirtualObject(QStringLiteral("/"), server.data(), QDBusConnection::SubPath));
        server->moveToThread(&thread);
        QVERIFY(bus.registerService(Service));
    }

    void stopServer()
    {
        QDBusConnection::disconnectFromBus(name);
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(Service));
        server->deleteLater();
    }

    void serverSignal(const QString& member, const QList<QVariant>& arguments, const QString& sender = QString())
    {
        QDBusMessage signal = QDBusMessage::createSignal(Path, Service, member);
        signal.setArguments(arguments);
        QVERIFY(QDBusConnection(sender.isEmpty() ? name : sender).send(signal));
    }

    Calls takeCalls(int count)
    {
        if (!QTest::qWaitFor([&] { return calls.size() >= count; }))
            qWarning("the server took %d calls, not %d", int(calls.size()), count);
        return std::exchange(calls, {});
    }

private Q_SLOTS:
    void initTestCase() { thread.start(); }
    void init() { startServer(); }
    void cleanup()
    {
        if (server)
            stopServer();
        QCoreApplication::sendPostedEvents(this); // calls still on their way
        calls.clear();
    }
    void cleanupTestCase()
    {
        thread.quit();
        thread.wait();
    }

    void publishUpdateAndRemove()
    {
        MNotification notification(QStringLiteral("device.added"), QStringLiteral("Summary"));
        notification.setImage(QStringLiteral("icon"));
        QVERIFY(notification.publish());
        const uint id = notification.id();
        notification.setBody(QStringLiteral("Changed"));
        QVERIFY(notification.publish() && notification.remove());
        QVERIFY(!notification.isPublished() && !notification.remove());
        const Calls taken = takeCalls(3);
        const QVariant icon(QStringLiteral("icon")), summary(QStringLiteral("Summary"));
        // Notify(application, id to replace, icon, summary, body, actions, hints, timeout)
        QCOMPARE(taken.value(0).second.mid(1, 4), (QList<QVariant>{0u, icon, summary, QString()}));
        QCOMPARE(qdbus_cast<QVariantMap>(taken.value(0).second.value(6)).value(QStringLiteral("category")).toString(),
                 QStringLiteral("device.added"));
        QCOMPARE(taken.value(1).second.mid(1, 4), (QList<QVariant>{id, icon, summary, QStringLiteral("Changed")}));
        QCOMPARE(taken.value(2), qMakePair(Path + QStringLiteral(" CloseNotification"), QList<QVariant>{id}));
    }

    // Only the server's own word on a notification's id closes it; a tap
    // makes the call only of the default action, while that action lives.
    void whatTheServerTells()
    {
        const auto action = [](const char* path) {
            return new MRemoteAction(Service, QLatin1String(path), QStringLiteral("a.b"), QStringLiteral("tap"),
                                     {path, 7});
        };
        QScopedPointer<MRemoteAction> tapped(action("/tapped")), otherKey(action("/other")), gone(action("/gone"));
        MNotification a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
        a.setAction(tapped.data());
        b.setAction(otherKey.data());
        c.setAction(gone.data());
        QVERIFY(a.publish() && b.publish() && c.publish());
        QCOMPARE(takeCalls(3).value(0).second.value(5), QVariant(QStringList{QStringLiteral("default"), QString()}));
        gone.reset();
        const QString closed = QStringLiteral("NotificationClosed"), invoked = QStringLiteral("ActionInvoked");
        serverSignal(closed, {uint(99), uint(2)});
        serverSignal(closed, {QStringLiteral("not an id"), uint(2)});
        serverSignal(closed, {a.id(), uint(2)}, QDBusConnection::sessionBus().name());
        serverSignal(invoked, {c.id(), QStringLiteral("default")});
        serverSignal(invoked, {b.id(), QStringLiteral("other")});
        serverSignal(invoked, {a.id(), QStringLiteral("default")});
        serverSignal(closed, {b.id(), uint(2)});
        QTRY_VERIFY(!b.isPublished());
        QVERIFY(a.isPublished() && c.isPublished());
        // The calls come in the order of the taps: only the last one made one.
        QCOMPARE(takeCalls(1), (Calls{{QStringLiteral("/tapped tap"), {QStringLiteral("/tapped"), 7}}}));
    }

    // A server that goes takes its notifications along, and the ids of the
    // next one name other notifications.
    void serversThatLieVanishOrRestart()
    {
        MNotification notification(QStringLiteral("x"));
        server->answerWithText = true;
        QVERIFY(!notification.publish() && !notification.isPublished());
        server->answerWithText = false;
        QVERIFY(notification.publish());
        stopServer();
        startServer();
        QTRY_VERIFY(!notification.isPublished());
        QVERIFY(notification.publish());
        QCOMPARE(takeCalls(3).value(2).second.value(1), QVariant(0u));
        stopServer();
        QVERIFY(!notification.publish() && !notification.isPublished());
        MRemoteAction(QStringLiteral("no such name"), QStringLiteral("not a path"), QString(), QString()).trigger();
    }
};

QTEST_GUILESS_MAIN(TestNotification)
#include "tst_notification.moc"

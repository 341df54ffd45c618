// SimpleNotification against notifyd on the private session bus: what the
// server shows, taps made through it or by any client, timeouts, and the
// sharing of one notification between handles.
#include <Pavane/SimpleNotification>

#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

using Pavane::SimpleNotification;

namespace {

// The callback objects this process exports, from its own introspection.
QStringList callbackPaths()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage introspect = QDBusMessage::createMethodCall(
        bus.baseService(), QStringLiteral("/com/zelkor/SimpleNotification"),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    const QString xml = bus.call(introspect).arguments().value(0).toString();
    QStringList paths;
    const QRegularExpression node(QStringLiteral("<node name=\"([^\"]+)\""));
    for (auto it = node.globalMatch(xml); it.hasNext();)
        paths << QStringLiteral("/com/zelkor/SimpleNotification/") + it.next().captured(1);
    return paths;
}

// dbus-send, as any client on the bus would call.
int dbusSend(const QString& path, const QString& method, QString* error = nullptr)
{
    QProcess send;
    send.start(QStringLiteral("dbus-send"),
               {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                QStringLiteral("--dest=") + QDBusConnection::sessionBus().baseService(), path,
                QStringLiteral("com.zelkor.SimpleNotificationCallback.") + method});
    // The call is answered from this process's event loop.
    while (!send.waitForFinished(10))
        QCoreApplication::processEvents();
    if (error)
        *error = QString::fromUtf8(send.readAllStandardError());
    return send.exitCode();
}

} // namespace

class TestSimpleNotification : public QObject
{
    Q_OBJECT

private:
    TestSupport::NotifydProcess server;

    uint onlyShown()
    {
        const QList<uint> ids = server.ids();
        return ids.size() == 1 ? ids.first() : 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(server.start());
    }

    void cleanup()
    {
        QTRY_VERIFY(server.ids().isEmpty());
    }

    void theServerShowsIt()
    {
        SimpleNotification note(QStringLiteral("network.connection"), QStringLiteral("Connected"),
                                QStringLiteral("Home network"), QStringLiteral("icon-m-wlan"));
        QVERIFY(note.isValid());
        const uint id = onlyShown();
        QVERIFY(id);
        const auto shown = server.get(id);
        QCOMPARE(shown.summary, QStringLiteral("Connected"));
        QCOMPARE(shown.body, QStringLiteral("Home network"));
        QCOMPARE(shown.icon, QStringLiteral("icon-m-wlan"));
        QCOMPARE(shown.category, QStringLiteral("network.connection"));

        note.update(QStringLiteral("other.type"), QStringLiteral("Disconnected"), QStringLiteral("Office"),
                    QStringLiteral("icon-m-gprs"));
        QCOMPARE(onlyShown(), id);
        QCOMPARE(server.get(id).summary, QStringLiteral("Disconnected"));
        QCOMPARE(server.get(id).icon, QStringLiteral("icon-m-gprs"));
        QCOMPARE(server.get(id).category, QStringLiteral("network.connection")); // the type stays
    }

    void aTapReachesEverySharingHandleOnce()
    {
        SimpleNotification first(QStringLiteral("t"), QStringLiteral("Tap me"), QString(), QString());
        SimpleNotification second(first);
        QVERIFY(second == first);
        QVERIFY(!second.parent());
        QSignalSpy firstActivated(&first, &SimpleNotification::activated);
        QSignalSpy secondActivated(&second, &SimpleNotification::activated);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_COMPARE(firstActivated.count(), 1);
        QTRY_COMPARE(secondActivated.count(), 1);
        // The server took the tapped notification away.
        QTRY_VERIFY(!first.isValid());
    }

    void anyClientMayCallBack()
    {
        SimpleNotification note(QStringLiteral("t"), QStringLiteral("Called"), QString(), QString());
        QSignalSpy activated(&note, &SimpleNotification::activated);
        const QStringList paths = callbackPaths();
        QCOMPARE(paths.size(), 1);
        QCOMPARE(dbusSend(paths.first(), QStringLiteral("activate")), 0);
        QTRY_COMPARE(activated.count(), 1);

        QString error;
        QVERIFY(dbusSend(paths.first(), QStringLiteral("bogus"), &error) != 0);
        QVERIFY2(error.contains(QStringLiteral("UnknownMethod")), qPrintable(error));
        QCOMPARE(activated.count(), 1);
        QVERIFY(note.isValid());
    }

    void pathsAreUniqueAndWellFormed()
    {
        SimpleNotification a(QStringLiteral("t"), QStringLiteral("same"), QString(), QString());
        SimpleNotification b(QStringLiteral("t"), QStringLiteral("same"), QString(), QString());
        QVERIFY(!(a == b));
        const QStringList paths = callbackPaths();
        QCOMPARE(paths.size(), 2);
        QVERIFY(paths[0] != paths[1]);
        const QRegularExpression form(QStringLiteral("^/com/zelkor/SimpleNotification/[0-9a-f]{32}$"));
        for (const QString& path : paths)
            QVERIFY2(form.match(path).hasMatch(), qPrintable(path));
    }

    void theTimeout()
    {
        SimpleNotification timed(QStringLiteral("t"), QStringLiteral("Timed"), QString(), QString());
        SimpleNotification copy = timed;
        QSignalSpy timedOut(&timed, &SimpleNotification::timeouted);
        QSignalSpy copyTimedOut(&copy, &SimpleNotification::timeouted);
        copy.setTimeout(1);
        QCOMPARE(timed.timeout(), 1);
        QTRY_COMPARE(timedOut.count(), 1);
        QCOMPARE(copyTimedOut.count(), 1);
        QCOMPARE(timed.timeout(), 0);
        QVERIFY(!timed.isValid());
        QVERIFY(server.ids().isEmpty());
    }

    // A notification with a one-second timeout serves as the clock: when it
    // fires, the timers stopped or never started would have fired too.
    void stoppedTimeouts()
    {
        SimpleNotification stopped(QStringLiteral("t"), QStringLiteral("stopped"), QString(), QString());
        SimpleNotification negative(QStringLiteral("t"), QStringLiteral("negative"), QString(), QString());
        SimpleNotification removed(QStringLiteral("t"), QStringLiteral("removed"), QString(), QString());
        QSignalSpy stoppedOut(&stopped, &SimpleNotification::timeouted);
        QSignalSpy negativeOut(&negative, &SimpleNotification::timeouted);
        QSignalSpy removedOut(&removed, &SimpleNotification::timeouted);
        stopped.setTimeout(1);
        removed.setTimeout(1);
        stopped.setTimeout(0);
        negative.setTimeout(-2);
        removed.remove();

        SimpleNotification clock(QStringLiteral("t"), QStringLiteral("clock"), QString(), QString());
        QSignalSpy tick(&clock, &SimpleNotification::timeouted);
        clock.setTimeout(1);
        QTRY_COMPARE(tick.count(), 1);
        QCOMPARE(stoppedOut.count() + negativeOut.count() + removedOut.count(), 0);
        QCOMPARE(stopped.timeout(), 0);
        QCOMPARE(negative.timeout(), -2);
        QCOMPARE(removed.timeout(), 1);
        QVERIFY(!removed.isValid());
        QVERIFY(stopped.isValid() && negative.isValid());
    }

    void theLastHandleWithdrawsIt()
    {
        auto* first = new SimpleNotification(QStringLiteral("t"), QStringLiteral("shared"), QString(), QString());
        auto* second = new SimpleNotification(*first);
        delete first;
        QVERIFY(onlyShown());
        QVERIFY(second->isValid());
        delete second;
        QVERIFY(server.ids().isEmpty());
    }

    void assignment()
    {
        SimpleNotification kept(QStringLiteral("t"), QStringLiteral("kept"), QString(), QString());
        SimpleNotification other(QStringLiteral("t"), QStringLiteral("replaced"), QString(), QString());
        QCOMPARE(server.ids().size(), 2);
        other = kept; // "replaced" loses its last handle
        QVERIFY(other == kept);
        QCOMPARE(server.ids().size(), 1);
        QCOMPARE(server.get(onlyShown()).summary, QStringLiteral("kept"));
        other = other;
        QVERIFY(other == kept && other.isValid());

        QSignalSpy activated(&other, &SimpleNotification::activated);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_COMPARE(activated.count(), 1);
    }

    void showDeletesItsHandle()
    {
        QPointer<SimpleNotification> tapped = SimpleNotification::show(QStringLiteral("t"), QStringLiteral("tap"),
                                                                      QString(), QString());
        QCOMPARE(tapped->timeout(), 5);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_VERIFY(tapped.isNull());

        QPointer<SimpleNotification> ignored = SimpleNotification::show(QStringLiteral("t"), QStringLiteral("wait"),
                                                                       QString(), QString());
        QVERIFY(onlyShown());
        QTRY_VERIFY_WITH_TIMEOUT(ignored.isNull(), 15000);
        QVERIFY(server.ids().isEmpty());
    }

    void receiversMayDeleteHandles()
    {
        auto* note = new SimpleNotification(QStringLiteral("t"), QStringLiteral("doomed"), QString(), QString());
        SimpleNotification* copies[2] = {new SimpleNotification(*note), new SimpleNotification(*note)};
        int calls = 0;
        auto deleteAll = [&] {
            ++calls;
            delete note;
            note = nullptr;
            for (SimpleNotification*& copy : copies) {
                delete copy;
                copy = nullptr;
            }
        };
        connect(note, &SimpleNotification::activated, this, deleteAll);
        for (SimpleNotification* copy : copies)
            connect(copy, &SimpleNotification::activated, this, deleteAll);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_COMPARE(calls, 1);
    }

    void withoutAServer()
    {
        QCOMPARE(server.stop(), 0);
        SimpleNotification note(QStringLiteral("t"), QStringLiteral("nobody"), QString(), QString());
        QVERIFY(!note.isValid());
        note.remove();
        note.update(QString(), QStringLiteral("still nobody"), QString(), QString());
        QVERIFY(!note.isValid());
    }
};

QTEST_MAIN(TestSimpleNotification)
#include "tst_simplenotification.moc"

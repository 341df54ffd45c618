// SimpleNotification against notifyd on the private session bus: what the
// server shows, taps made through it, timeouts, and the sharing of one
// notification between handles.
#include <Pavane/SimpleNotification>

#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPointer>
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
        auto shown = [this, id] {
            const auto s = server.get(id);
            return QStringList{s.summary, s.body, s.icon, s.category};
        };
        QCOMPARE(shown(), (QStringList{"Connected", "Home network", "icon-m-wlan", "network.connection"}));

        // Changed in place; the event type stays.
        note.update(QStringLiteral("other.type"), QStringLiteral("Disconnected"), QStringLiteral("Office"),
                    QStringLiteral("icon-m-gprs"));
        QCOMPARE(onlyShown(), id);
        QCOMPARE(shown(), (QStringList{"Disconnected", "Office", "icon-m-gprs", "network.connection"}));
    }

    void aTapReachesEverySharingHandleOnce()
    {
        SimpleNotification first(QStringLiteral("t"), QStringLiteral("Tap me"), QString(), QString());
        SimpleNotification second(first);
        QVERIFY(second == first);
        QSignalSpy firstActivated(&first, &SimpleNotification::activated);
        QSignalSpy secondActivated(&second, &SimpleNotification::activated);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_COMPARE(firstActivated.count(), 1);
        QTRY_COMPARE(secondActivated.count(), 1);
        // The server took the tapped notification away.
        QTRY_VERIFY(!first.isValid());
    }

    void callbackPathsAreUniqueAndWellFormed()
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

    // A timeout set on a copy runs for every handle. It also serves as the
    // clock: when it fires, timers stopped or never started would have too.
    void timeouts()
    {
        SimpleNotification timed(QStringLiteral("t"), QStringLiteral("timed"), QString(), QString());
        SimpleNotification copy = timed;
        SimpleNotification stopped(QStringLiteral("t"), QStringLiteral("stopped"), QString(), QString());
        SimpleNotification negative(QStringLiteral("t"), QStringLiteral("negative"), QString(), QString());
        SimpleNotification removed(QStringLiteral("t"), QStringLiteral("removed"), QString(), QString());
        QSignalSpy timedOut(&timed, &SimpleNotification::timeouted);
        QSignalSpy copyTimedOut(&copy, &SimpleNotification::timeouted);
        QSignalSpy stoppedOut(&stopped, &SimpleNotification::timeouted);
        QSignalSpy negativeOut(&negative, &SimpleNotification::timeouted);
        QSignalSpy removedOut(&removed, &SimpleNotification::timeouted);
        stopped.setTimeout(1);
        removed.setTimeout(1);
        stopped.setTimeout(0);
        negative.setTimeout(-2);
        removed.remove();

        copy.setTimeout(1);
        QCOMPARE(timed.timeout(), 1);
        QTRY_COMPARE(timedOut.count(), 1);
        QCOMPARE(copyTimedOut.count(), 1);
        QCOMPARE(stoppedOut.count() + negativeOut.count() + removedOut.count(), 0);
        QCOMPARE(timed.timeout(), 0);
        QVERIFY(!timed.isValid() && !removed.isValid());
        QVERIFY(stopped.isValid() && negative.isValid());
        QCOMPARE(server.ids().size(), 2);
    }

    // By destruction or by assignment, the last handle takes the
    // notification from the server.
    void theLastHandleWithdrawsIt()
    {
        auto* first = new SimpleNotification(QStringLiteral("t"), QStringLiteral("kept"), QString(), QString());
        auto* second = new SimpleNotification(QStringLiteral("t"), QStringLiteral("replaced"), QString(), QString());
        QCOMPARE(server.ids().size(), 2);
        *second = *first;
        QVERIFY(*second == *first);
        QCOMPARE(server.ids().size(), 1);
        QCOMPARE(server.get(onlyShown()).summary, QStringLiteral("kept"));
        *second = *second;
        delete first;
        QVERIFY(onlyShown() && second->isValid());
        delete second;
        QVERIFY(server.ids().isEmpty());
    }

    void showDeletesItsHandle()
    {
        QPointer<SimpleNotification> tapped = SimpleNotification::show(QStringLiteral("t"), QStringLiteral("tap"),
                                                                      QString(), QString());
        QCOMPARE(tapped->timeout(), 5);
        QVERIFY(server.invoke(onlyShown()));
        QTRY_VERIFY(tapped.isNull());
    }

    void receiversMayDeleteHandles_data()
    {
        TestSupport::addReceiverVictimRows({"activated", "timeouted"});
    }

    // A receiver may delete the emitting handle, the other handles, or all of
    // them and with them the shared object (and the callback object whose
    // D-Bus call is being delivered).
    void receiversMayDeleteHandles()
    {
        QFETCH(QString, during);
        QFETCH(QString, victims);
        const bool tap = during == QLatin1String("activated");
        auto* note = new SimpleNotification(QStringLiteral("t"), QStringLiteral("doomed"), QString(), QString());
        QList<QPointer<SimpleNotification>> handles{note, new SimpleNotification(*note),
                                                    new SimpleNotification(*note)};
        int calls = 0;
        for (int i = 0; i < 3; ++i) {
            connect(handles[i], tap ? &SimpleNotification::activated : &SimpleNotification::timeouted, this,
                    [&, i] {
                        ++calls;
                        for (int other = 0; other < 3; ++other) {
                            if (TestSupport::isVictim(victims, i, other))
                                delete handles[other].data();
                        }
                    });
        }
        if (tap)
            QVERIFY(server.invoke(onlyShown()));
        else
            note->setTimeout(1);
        QTRY_COMPARE(calls, TestSupport::receiversRun(victims));
        QCOMPARE(int(handles.size() - handles.count(nullptr)), TestSupport::survivors(victims));
        for (const QPointer<SimpleNotification>& handle : handles)
            delete handle.data();
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

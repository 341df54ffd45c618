// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// SimpleNotification against notifyd on the private session bus: what the
// server shows, taps made through it, timeouts, and the sharing of one
// notification between handles. Banners shown in a window.
#include <Pavane/SimpleInformationBanner>
#include <Pavane/SimpleNotification>

#include "testsupport.h"
#include "toolkittest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using Pavane::SimpleInformationBanner;
using Pavane::SimpleNotification;

namespace {

// notifyd on the private session bus, and its control interface: what a
// person at the screen would see and do.
class Server : public TestSupport::ServiceProcess
{
public:
    bool start()
    {
        qDBusRegisterMetaType<QList<uint>>();
        return ServiceProcess::start(QStringLiteral(NOTIFYD_PATH), {}, QStringLiteral("org.freedesktop.Notifications"),
                                     true);
    }
    QList<uint> ids() const { return qdbus_cast<QList<uint>>(control("Ids").value(0)); }
    QStringList get(uint id) const { return QVariant(control("Get", {id})).toStringList(); } // summary, body, icon, category
    bool invoke(uint id) const { return control("Invoke", {id, QStringLiteral("default")}).value(0).toBool(); } // a tap

private:
    static QList<QVariant> control(const char* member, const QList<QVariant>& args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("com.zelkor.NotificationServer.Control"), QLatin1String(member));
        message.setArguments(args);
        return QDBusConnection::sessionBus().call(message).arguments();
    }
};

SimpleNotification* note(const QString& summary)
{
    return new SimpleNotification(QStringLiteral("t"), summary, QString(), QString());
}

} // namespace

class TestNotifications : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private:
    Server server;

    uint onlyShown()
    {
        const QList<uint> ids = server.ids();
        return ids.size() == 1 ? ids.first() : 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(server.start());
    }

    void cleanup()
    {
        close();
        QTRY_VERIFY(server.ids().isEmpty());
    }

    void theServerShowsIt()
    {
        SimpleNotification note(QStringLiteral("network.connection"), QStringLiteral("Connected"),
                                QStringLiteral("Home network"), QStringLiteral("icon-m-wlan"));
        QVERIFY(note.isValid());
        const uint id = onlyShown();
        QVERIFY(id);
        QCOMPARE(server.get(id), (QStringList{"Connected", "Home network", "icon-m-wlan", "network.connection"}));
        // Changed in place; the event type stays.
        note.update(QStringLiteral("other.type"), QStringLiteral("Disconnected"), QStringLiteral("Office"),
                    QStringLiteral("icon-m-gprs"));
        QCOMPARE(onlyShown(), id);
        QCOMPARE(server.get(id), (QStringList{"Disconnected", "Office", "icon-m-gprs", "network.connection"}));
    }

    // One tap reaches every handle of the tapped notification once, and
    // no other notification: each calls back on a path of its own.
    void taps()
    {
        QScopedPointer<SimpleNotification> first(note(QStringLiteral("tapped")));
        SimpleNotification second(*first);
        QVERIFY(second == *first);
        QScopedPointer<SimpleNotification> other(note(QStringLiteral("other")));
        QVERIFY(!(*other == *first));
        QSignalSpy firstActivated(first.data(), &SimpleNotification::activated);
        QSignalSpy secondActivated(&second, &SimpleNotification::activated);
        QSignalSpy otherActivated(other.data(), &SimpleNotification::activated);
        const QList<uint> ids = server.ids();
        QCOMPARE(ids.size(), 2);
        QVERIFY(server.invoke(server.get(ids[0]).value(0) == QLatin1String("tapped") ? ids[0] : ids[1]));
        QTRY_COMPARE(firstActivated.count(), 1);
        QTRY_COMPARE(secondActivated.count(), 1);
        // The server took the tapped notification away.
        QTRY_VERIFY(!first->isValid());
        QCOMPARE(otherActivated.count(), 0);
        QVERIFY(other->isValid());
    }

    // A timeout set on a copy runs for every handle. It also serves as the
    // clock: when it fires, timers stopped or never started would have too.
    void timeouts()
    {
        QList<QSharedPointer<SimpleNotification>> notes;
        QList<QSharedPointer<QSignalSpy>> spies;
        for (const char* summary : {"timed", "copy", "stopped", "negative", "removed"}) {
            notes.append(QSharedPointer<SimpleNotification>(notes.isEmpty() || notes.size() > 1
                                                                ? note(QLatin1String(summary))
                                                                : new SimpleNotification(*notes.first())));
            spies.append(QSharedPointer<QSignalSpy>::create(notes.last().data(), &SimpleNotification::timeouted));
        }
        notes[2]->setTimeout(1);
        notes[4]->setTimeout(1);
        notes[2]->setTimeout(0);
        notes[3]->setTimeout(-2);
        notes[4]->remove();
        notes[1]->setTimeout(1);
        QCOMPARE(notes[0]->timeout(), 1);
        QTRY_COMPARE(spies[0]->count(), 1);
        QString timedOut, valid;
        for (int i = 0; i < notes.size(); ++i) {
            timedOut += QString::number(spies[i]->count());
            valid += notes[i]->isValid() ? "v" : "-";
        }
        QCOMPARE(timedOut, QStringLiteral("11000"));
        QCOMPARE(valid, QStringLiteral("--vv-"));
        QCOMPARE(notes[0]->timeout(), 0);
        QCOMPARE(notes[3]->timeout(), -2);
        QCOMPARE(server.ids().size(), 2);
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
        SimpleNotification* doomed = note(QStringLiteral("doomed"));
        QList<QPointer<SimpleNotification>> handles{doomed, new SimpleNotification(*doomed),
                                                    new SimpleNotification(*doomed)};
        int calls = 0;
        TestSupport::deleteVictimsOnSignal(this, handles, tap ? &SimpleNotification::activated
                                                              : &SimpleNotification::timeouted, victims, calls);
        if (tap)
            QVERIFY(server.invoke(onlyShown()));
        else
            doomed->setTimeout(1);
        QTRY_COMPARE(calls, TestSupport::receiversRun(victims));
        QCOMPARE(int(handles.size() - handles.count(nullptr)), TestSupport::survivors(victims));
        for (const QPointer<SimpleNotification>& handle : handles)
            delete handle.data();
    }

    // Banners go by themselves, whatever time was asked for, and are
    // destroyed; a system banner goes at once when tapped.
    void banners()
    {
        open();
        QPointer<SimpleInformationBanner> quick = SimpleInformationBanner::show(QStringLiteral("Saved"), 0);
        QPointer<SimpleInformationBanner> slow = SimpleInformationBanner::show(QStringLiteral("Saved"), 10000);
        for (SimpleInformationBanner* banner : {quick.data(), slow.data()}) {
            QCOMPARE(banner->styleName(), QStringLiteral("InformationBanner"));
            QCOMPARE(banner->title(), QStringLiteral("Saved"));
            QCOMPARE(banner->window(), window.data());
        }
        QTRY_COMPARE(quick->sceneWindowState(), MSceneWindow::Appeared);
        QTRY_VERIFY_WITH_TIMEOUT(quick.isNull() && slow.isNull(), 10000);

        SimpleInformationBanner::show(QStringLiteral("Offline mode"), QString());
        QPointer<SimpleInformationBanner> system = qobject_cast<SimpleInformationBanner*>(window->sceneWindows().last());
        QVERIFY(system);
        QCOMPARE(system->styleName(), QStringLiteral("SystemBanner"));
        QVERIFY(ToolkitTest::appeared(system));
        tap(system);
        QTRY_VERIFY(system.isNull());
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

QTEST_MAIN(TestNotifications)
#include "tst_notifications.moc"

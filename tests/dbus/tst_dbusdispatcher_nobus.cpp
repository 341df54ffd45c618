// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A dispatcher whose system bus comes and goes: none at first, then a bus that
// this suite starts itself at a fixed address, which drops clients that send
// more than it takes, and which is killed and started again. libdbus reads
// the bus address once per process, so this runs apart from the other suites.
#include <Pavane/DBusDispatcher>

#include "testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using Pavane::DBusDispatcher;

namespace {

const char* const ReplySignal = SIGNAL(callReply(QString,QList<QVariant>,QString));
const char* const SignalSignal = SIGNAL(signalReceived(QString,QString,QList<QVariant>));
const QString BusName = QStringLiteral("org.freedesktop.DBus");
const QString BusPath = QStringLiteral("/org/freedesktop/DBus");
const QString LossWarning = QStringLiteral(
    "DBusDispatcher: the connection to the system bus was lost; it is opened again on the next call");

// Messages above this size make the bus drop their sender.
constexpr int BusMessageLimit = 64 * 1024;

// A message bus at a fixed socket path, which can be killed and started again.
class RestartableBus
{
public:
    explicit RestartableBus(const QTemporaryDir& dir)
        : socket(dir.filePath(QStringLiteral("system_bus_socket")))
        , config(dir.filePath(QStringLiteral("bus.conf")))
    {
        QFile file(config);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">"
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
            "<policy context=\"default\"><allow user=\"*\"/><allow own=\"*\"/>"
            "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/></policy>"
            "<limit name=\"max_message_size\">%1</limit></busconfig>")
                       .arg(BusMessageLimit)
                       .toUtf8());
    }

    QByteArray address() const { return "unix:path=" + QFile::encodeName(socket); }

    bool start()
    {
        // The bus dies with this process, however it ends.
        daemon.start(QStringLiteral("setpriv"),
                     {QStringLiteral("--pdeathsig"), QStringLiteral("KILL"), QStringLiteral("--"),
                      QStringLiteral("dbus-daemon"), QStringLiteral("--config-file=") + config,
                      QStringLiteral("--address=") + QString::fromLatin1(address()),
                      QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                      QStringLiteral("--nosyslog"), QStringLiteral("--print-address=1")});
        // It prints its address once it listens.
        return daemon.waitForStarted(10000) && daemon.waitForReadyRead(10000);
    }

    void kill()
    {
        daemon.kill();
        daemon.waitForFinished(10000);
        QFile::remove(socket);
    }

private:
    QString socket;
    QString config;
    QProcess daemon;
};

} // namespace

class TestDBusDispatcherWithoutBus : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RestartableBus bus{dir};

    // Asks the bus itself, which answers with its own id.
    static QString busId(DBusDispatcher* dispatcher)
    {
        return dispatcher->call(QStringLiteral("GetId")).value(0).toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(qgetenv("PAVANE_PRIVATE_BUSES") == "1");
        QVERIFY(dir.isValid());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address());
    }

    // Whatever took the connection away, the loss is told once and the next
    // call connects afresh, with the signal path registered again.
    void theConnectionComesBack()
    {
        TestSupport::MessageLog log;
        DBusDispatcher dispatcher(BusName, BusPath, BusName);
        QCOMPARE(log.messages(), QStringList{"Unable to get DBUS connection!"});
        // Without a bus every operation answers, and nothing is reported.
        QSignalSpy replies(&dispatcher, ReplySignal);
        QVERIFY(busId(&dispatcher).isEmpty());
        QVERIFY(!dispatcher.callAsynchronous(QStringLiteral("GetId")));
        QVERIFY(!dispatcher.synchronousDispatch(0));
        QVERIFY(!dispatcher.synchronousDispatch(-1));
        QCoreApplication::processEvents();
        QCOMPARE(replies.count(), 0);
        QCOMPARE(log.messages().size(), 1);

        // A bus that comes up later is found by the next call; it greets the
        // new connection with a signal on the path the dispatcher listens on.
        QVERIFY(bus.start());
        QSignalSpy received(&dispatcher, SignalSignal);
        const QString firstId = busId(&dispatcher);
        QVERIFY(!firstId.isEmpty());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(1).toString(), QStringLiteral("NameAcquired"));

        // The bus drops a client whose message is too big for it; a call in
        // flight is answered with an error, not left waiting.
        const QString tooBig(BusMessageLimit, QLatin1Char('x'));
        QVERIFY(dispatcher.callAsynchronous(QStringLiteral("GetId"), tooBig));
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(2).toString(), QStringLiteral("org.freedesktop.DBus.Error.Disconnected"));
        QTRY_COMPARE(log.messages(QtWarningMsg), QStringList{LossWarning});
        QCOMPARE(busId(&dispatcher), firstId);
        QTRY_COMPARE(received.count(), 2);
        QVERIFY(received.at(1).at(2) != received.at(0).at(2));
        QVERIFY(dispatcher.callAsynchronous(QStringLiteral("GetId")));
        QTRY_COMPARE(replies.count(), 2);
        QCOMPARE(replies.at(1).at(1).toList(), QList<QVariant>{firstId});

        // A bus that dies and starts again: calls in between fail, quietly
        // after the one warning and the one debug message.
        bus.kill();
        QTRY_COMPARE(log.messages(QtWarningMsg).size(), 2);
        QVERIFY(busId(&dispatcher).isEmpty());
        QVERIFY(!dispatcher.callAsynchronous(QStringLiteral("GetId")));
        QVERIFY(busId(&dispatcher).isEmpty());
        QCOMPARE(log.messages().mid(2),
                 (QStringList{LossWarning, "Unable to get DBUS connection!"}));
        QVERIFY(bus.start());
        const QString secondId = busId(&dispatcher);
        QVERIFY(!secondId.isEmpty());
        QVERIFY(secondId != firstId);
        QTRY_COMPARE(received.count(), 3);
        QCOMPARE(log.messages().size(), 4);
        bus.kill();
    }
};

QTEST_GUILESS_MAIN(TestDBusDispatcherWithoutBus)
#include "tst_dbusdispatcher_nobus.moc"

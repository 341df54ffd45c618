// devmoded as any client sees it on the private system bus, and its state
// file; devmoded and notifyd on a bus that the test takes away.
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString RequestPath = QStringLiteral("/com/zelkor/devmode/request");
const QString BasePath = QStringLiteral("/com/zelkor/devmode");

QDBusMessage call(const QString& path, const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("com.zelkor.devmode"), path,
                                                          QStringLiteral("com.zelkor.devmode.request"), member);
    message.setArguments(args);
    return QDBusConnection::systemBus().call(message);
}

uint radioStates()
{
    return call(RequestPath, QStringLiteral("get_radio_states")).arguments().value(0).toUInt();
}

// A bus of the test's own, which it can take away from under a daemon.
class OwnBus
{
public:
    ~OwnBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("own bus"));
        process.kill();
        process.waitForFinished();
    }

    bool start()
    {
        process.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--address=unix:tmpdir=/tmp"), QStringLiteral("--print-address=1")});
        while (process.waitForStarted() && !process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        address = QString::fromUtf8(process.readLine()).trimmed();
        return !address.isEmpty();
    }

    bool isOwned(const QString& name)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("own bus"));
        return bus.isConnected() && bus.interface()->isServiceRegistered(name);
    }

    void takeAway()
    {
        process.kill();
        process.waitForFinished();
    }

    QString address;

private:
    QProcess process;
};

} // namespace

class Indications : public QObject
{
    Q_OBJECT

public:
    QList<uint> words;

public Q_SLOTS:
    void received(uint word) { words.append(word); }
};

class TestDevmoded : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // Each request changes the radios its mask names, is announced, changed
    // or not, and what it changed is in the state file for the next start.
    void changeRequests()
    {
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start({QStringLiteral("--radio-states"), QStringLiteral("0x0d")}));
        Indications indications;
        QVERIFY(QDBusConnection::systemBus().connect(
            QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/signal"),
            QStringLiteral("com.zelkor.devmode.signal"), QStringLiteral("radio_states_ind"),
            &indications, SLOT(received(uint))));

        QVERIFY(daemon.changeRadioStates(0x02, 0x03));
        QCOMPARE(radioStates(), 0x0eu);
        QVERIFY(daemon.changeRadioStates(0xff, 0xe0)); // beyond the radios
        QVERIFY(daemon.changeRadioStates(0, 0));       // no change
        QCOMPARE(radioStates(), 0x0eu);
        QTRY_COMPARE(indications.words, (QList<uint>{0x0e, 0x0e, 0x0e}));
        QCOMPARE(daemon.stop(), 0);
        QVERIFY(daemon.log().contains(QStringLiteral("radio states 0x0d -> 0x0e (states 0x02, mask 0x03)")));
        QCOMPARE(daemon.log().count(QStringLiteral(" -> ")), 1);

        QFile file(daemon.stateFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("# devmoded state\nradio_states=0xe\n"));
        QVERIFY(daemon.start());
        QCOMPARE(radioStates(), 0x0eu);
    }

    // A state file the daemon cannot use leaves every radio on. Anything but
    // a regular file is such a file: a FIFO used to hang the daemon at start.
    void stateFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<uint>("states");
        QTest::addColumn<QString>("warning");
        const QByteArray valid("radio_states=3\n");
        QTest::newRow("written by hand") << "file" << QByteArray("# by hand\n\nradio_states = 12\n") << 12u << "";
        QTest::newRow("missing") << "none" << QByteArray() << 0x1fu << "no state file";
        QTest::newRow("garbage") << "file" << QByteArray("\x01\x02zzz") << 0x1fu << "damaged state file";
        QTest::newRow("out of range") << "file" << QByteArray("radio_states=0x20\n") << 0x1fu << "damaged state file";
        QTest::newRow("oversized") << "file" << valid + QByteArray(5000, '#') << 0x1fu << "damaged state file";
        QTest::newRow("FIFO") << "fifo" << QByteArray() << 0x1fu << "damaged state file";
        QTest::newRow("directory") << "directory" << QByteArray() << 0x1fu << "damaged state file";
        QTest::newRow("link to a good file") << "link" << valid << 0x1fu << "damaged state file";
    }

    void stateFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(uint, states);
        QFETCH(QString, warning);
        TestSupport::DevmodeProcess daemon;
        const QString path = daemon.stateFile();
        QFile file(kind == QLatin1String("link") ? path + QStringLiteral(".target") : path);
        if (kind == QLatin1String("file") || kind == QLatin1String("link")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
        }
        if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(file.fileName(), path));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkpath(path));
        QVERIFY(daemon.start());
        QCOMPARE(radioStates(), states);
        QCOMPARE(daemon.stop(), 0);
        const QString log = daemon.log();
        QVERIFY2(warning.isEmpty() ? !log.contains("warning: ") : log.contains("warning: " + warning), qPrintable(log));
    }

    // The daemon checks argument types by hand: a wrong call changes nothing.
    void wrongCallsAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");
        const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
        QTest::newRow("signed states") << RequestPath << "req_radio_states_change" << QVariantList{1, 1u} << invalidArgs;
        QTest::newRow("mask missing") << RequestPath << "req_radio_states_change" << QVariantList{1u} << invalidArgs;
        QTest::newRow("lock mode as a number") << BasePath << "req_tklock_mode_change" << QVariantList{1u} << invalidArgs;
        QTest::newRow("unknown lock mode") << BasePath << "req_tklock_mode_change" << QVariantList{"ajar"}
                                           << "com.zelkor.devmode.Error.UnknownMode";
        QTest::newRow("display with an argument") << BasePath << "req_display_state_on" << QVariantList{true}
                                                  << invalidArgs;
        QTest::newRow("no such object") << BasePath + "/nothing" << "get_radio_states" << QVariantList()
                                        << "org.freedesktop.DBus.Error.UnknownObject";
    }

    void wrongCallsAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, member);
        QFETCH(QVariantList, args);
        QFETCH(QString, error);
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start({QStringLiteral("--tklock"), QStringLiteral("locked")}));
        const QDBusMessage reply = call(path, member, args);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), error);
        QCOMPARE(daemon.tklockMode(), QStringLiteral("locked"));
        QCOMPARE(radioStates(), 0x1fu);
        QCOMPARE(daemon.stop(), 0);
    }

    void sigintEndsItCleanly()
    {
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start());
        ::kill(pid_t(daemon.pid()), SIGINT);
        QCOMPARE(daemon.stop(), 0);
        QVERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(QStringLiteral("com.zelkor.devmode")));
    }

    void oneInstancePerBusAndNoneWithoutIt_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("devmoded") << QStringLiteral(DEVMODED_PATH) << QStringLiteral("com.zelkor.devmode");
        QTest::newRow("notifyd") << QStringLiteral(NOTIFYD_PATH) << QStringLiteral("org.freedesktop.Notifications");
    }

    // A second instance says why the bus refused it, and leaves the first
    // one's state file alone. When the bus goes, so do the daemons.
    void oneInstancePerBusAndNoneWithoutIt()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        OwnBus bus;
        QVERIFY(bus.start());
        QTemporaryDir scratch;
        const QString stateFile = scratch.filePath(QStringLiteral("radio-states"));
        const bool devmoded = name == QLatin1String("com.zelkor.devmode");
        QStringList arguments{QStringLiteral("--address"), bus.address};
        if (devmoded)
            arguments << QStringLiteral("--state-file") << stateFile << QStringLiteral("--radio-states")
                      << QStringLiteral("0x0d");
        QProcess first;
        first.start(program, arguments);
        QTRY_VERIFY(bus.isOwned(name));

        QProcess second;
        second.start(program, QStringList(arguments).replaceInStrings(QStringLiteral("0x0d"), QStringLiteral("0x02")));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        const QString refusal = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(refusal.contains(QRegularExpression(QStringLiteral("cannot own %1: \\S").arg(name))),
                 qPrintable(refusal));
        if (devmoded) {
            QFile file(stateFile);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("# devmoded state\nradio_states=0xd\n"));
        }

        bus.takeAway();
        QTRY_COMPARE_WITH_TIMEOUT(first.state(), QProcess::NotRunning, 10000);
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 1);
        QVERIFY(QString::fromUtf8(first.readAllStandardError()).contains(QStringLiteral("lost the bus")));
    }
};

QTEST_GUILESS_MAIN(TestDevmoded)
#include "tst_devmoded.moc"

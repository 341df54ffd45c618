// devmoded as any client sees it on the private system bus, and its state file.
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QtTest>

#include <csignal>

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

    // A state file the daemon cannot use leaves every radio on.
    void stateFiles_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<uint>("states");
        QTest::addColumn<QString>("warning");
        QTest::newRow("written by hand") << QByteArray("# by hand\n\nradio_states = 12\n") << 12u << "";
        QTest::newRow("missing") << QByteArray() << 0x1fu << "no state file";
        QTest::newRow("garbage") << QByteArray("\x01\x02zzz") << 0x1fu << "damaged state file";
        QTest::newRow("out of range") << QByteArray("radio_states=0x20\n") << 0x1fu << "damaged state file";
    }

    void stateFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(uint, states);
        QFETCH(QString, warning);
        TestSupport::DevmodeProcess daemon;
        QFile file(daemon.stateFile());
        if (!content.isNull()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
        }
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

    void oneInstanceThatEndsCleanly()
    {
        TestSupport::DevmodeProcess first;
        QVERIFY(first.start());
        // A second daemon cannot own the name and says so.
        TestSupport::DevmodeProcess second;
        QVERIFY(!second.start());
        QCOMPARE(second.stop(), 1);
        QVERIFY(second.log().contains(QStringLiteral("cannot own com.zelkor.devmode")));

        // SIGINT, like SIGTERM, ends it cleanly and frees the name.
        ::kill(pid_t(first.pid()), SIGINT);
        QCOMPARE(first.stop(), 0);
        QVERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(QStringLiteral("com.zelkor.devmode")));
    }
};

QTEST_GUILESS_MAIN(TestDevmoded)
#include "tst_devmoded.moc"

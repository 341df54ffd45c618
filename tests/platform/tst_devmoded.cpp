// devmoded as any client sees it on the private system bus, and its state file.
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QtTest>

#include <csignal>

namespace {

QDBusMessage call(const QString& path, const QString& member, const QList<QVariant>& args = {},
                  const QString& interface = QStringLiteral("com.zelkor.devmode.request"))
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("com.zelkor.devmode"), path,
                                                          interface, member);
    message.setArguments(args);
    return QDBusConnection::systemBus().call(message);
}

const QString RequestPath = QStringLiteral("/com/zelkor/devmode/request");
const QString BasePath = QStringLiteral("/com/zelkor/devmode");

uint radioStates()
{
    return call(RequestPath, QStringLiteral("get_radio_states")).arguments().value(0).toUInt();
}

QDBusMessage changeRadios(const QVariant& states, const QVariant& mask)
{
    return call(RequestPath, QStringLiteral("req_radio_states_change"), {states, mask});
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
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

    void changeRequestsFollowTheMask()
    {
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start({QStringLiteral("--radio-states"), QStringLiteral("0x0d")}));
        Indications indications;
        QVERIFY(QDBusConnection::systemBus().connect(
            QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/signal"),
            QStringLiteral("com.zelkor.devmode.signal"), QStringLiteral("radio_states_ind"),
            &indications, SLOT(received(uint))));

        QCOMPARE(radioStates(), 0x0du);
        QCOMPARE(changeRadios(0x02u, 0x03u).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(radioStates(), 0x0eu);
        QCOMPARE(changeRadios(0xffu, 0xe0u).type(), QDBusMessage::ReplyMessage); // beyond the radios
        QCOMPARE(changeRadios(0u, 0u).type(), QDBusMessage::ReplyMessage);        // no change
        QCOMPARE(radioStates(), 0x0eu);
        // Announced after every request, changed or not.
        QTRY_COMPARE(indications.words, (QList<uint>{0x0e, 0x0e, 0x0e}));

        QCOMPARE(daemon.stop(), 0);
        QVERIFY(daemon.log().contains(QStringLiteral("radio states 0x0d -> 0x0e (states 0x02, mask 0x03)")));
        QCOMPARE(daemon.log().count(QStringLiteral(" -> ")), 1);
    }

    void radioStatesSurviveARestart()
    {
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start({QStringLiteral("--radio-states"), QStringLiteral("0x1f")}));
        changeRadios(0u, 0x01u); // offline
        QCOMPARE(daemon.stop(), 0);

        QFile file(daemon.stateFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("# devmoded state\nradio_states=0x1e\n"));

        QVERIFY(daemon.start());
        QCOMPARE(radioStates(), 0x1eu);
    }

    void missingOrDamagedStateFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("warning");
        QTest::newRow("missing") << QByteArray() << "no state file";
        QTest::newRow("garbage") << QByteArray("\x01\x02zzz") << "damaged state file";
        QTest::newRow("out of range") << QByteArray("radio_states=0x20\n") << "damaged state file";
        QTest::newRow("no number") << QByteArray("radio_states=on\n") << "damaged state file";
    }

    void missingOrDamagedStateFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, warning);
        TestSupport::DevmodeProcess daemon;
        if (!content.isEmpty())
            writeFile(daemon.stateFile(), content);
        QVERIFY(daemon.start());
        QCOMPARE(radioStates(), 0x1fu);
        QCOMPARE(daemon.stop(), 0);
        QVERIFY2(daemon.log().contains(QStringLiteral("warning: ") + warning), qPrintable(daemon.log()));
    }

    void commentsAndOtherRadixesAreRead()
    {
        TestSupport::DevmodeProcess daemon;
        writeFile(daemon.stateFile(), "# written by hand\n\nradio_states = 12\n");
        QVERIFY(daemon.start());
        QCOMPARE(radioStates(), 12u);
    }

    void wrongArgumentsAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");

        const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
        QTest::newRow("query with an argument") << RequestPath << "get_radio_states"
                                                << QVariantList{1u} << invalidArgs;
        QTest::newRow("signed states") << RequestPath << "req_radio_states_change"
                                       << QVariantList{1, 1u} << invalidArgs;
        QTest::newRow("mask missing") << RequestPath << "req_radio_states_change"
                                      << QVariantList{1u} << invalidArgs;
        QTest::newRow("lock mode as a number") << BasePath << "req_tklock_mode_change"
                                               << QVariantList{1u} << invalidArgs;
        QTest::newRow("unknown lock mode") << BasePath << "req_tklock_mode_change"
                                           << QVariantList{QStringLiteral("ajar")}
                                           << "com.zelkor.devmode.Error.UnknownMode";
        QTest::newRow("display with an argument") << BasePath << "req_display_state_on"
                                                  << QVariantList{true} << invalidArgs;
        QTest::newRow("radio call on the lock path") << BasePath << "get_radio_states"
                                                     << QVariantList{}
                                                     << "org.freedesktop.DBus.Error.UnknownMethod";
        QTest::newRow("no such object") << BasePath + QStringLiteral("/nothing") << "get_radio_states"
                                        << QVariantList{}
                                        << "org.freedesktop.DBus.Error.UnknownObject";
    }

    void wrongArgumentsAreRefused()
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

    void lockAndDisplay()
    {
        TestSupport::DevmodeProcess daemon;
        QVERIFY(daemon.start({QStringLiteral("--tklock"), QStringLiteral("locked"),
                              QStringLiteral("--display"), QStringLiteral("off")}));
        QCOMPARE(call(BasePath, QStringLiteral("req_tklock_mode_change"), {QStringLiteral("silent-unlocked")})
                     .type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(daemon.tklockMode(), QStringLiteral("silent-unlocked"));
        QCOMPARE(call(BasePath, QStringLiteral("req_display_state_on")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(daemon.displayState(), QStringLiteral("on"));
        const QString xml = call(BasePath, QStringLiteral("Introspect"), {},
                                 QStringLiteral("org.freedesktop.DBus.Introspectable"))
                                .arguments().value(0).toString();
        QVERIFY(xml.contains(QStringLiteral("req_tklock_mode_change")));
        QVERIFY(xml.contains(QStringLiteral("<node name=\"request\"/>")));
    }

    void lifecycle()
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
        QVERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(
            QStringLiteral("com.zelkor.devmode")));

        QProcess help;
        help.start(QStringLiteral(DEVMODED_PATH), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(10000));
        QCOMPARE(help.exitCode(), 0);
        QVERIFY(help.readAllStandardOutput().contains("--state-file"));
    }
};

QTEST_GUILESS_MAIN(TestDevmoded)
#include "tst_devmoded.moc"

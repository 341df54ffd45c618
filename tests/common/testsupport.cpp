#include "testsupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDebug>
#include <QFile>
#include <QTest>

namespace TestSupport {

QString environmentProblem()
{
    if (qgetenv("PAVANE_PRIVATE_BUSES") != "1")
        return QStringLiteral("run the tests through tests/harness/with-private-buses "
                              "(ctest does), never on the machine's own buses");
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || !dispatcher->inherits("QEventDispatcherGlib"))
        return QStringLiteral("the Qt event loop must run on GLib (is QT_NO_GLIB set?)");
    return {};
}

ServiceProcess::ServiceProcess()
{
    process.setStandardErrorFile(scratchPath(QStringLiteral("stderr.log")));
}

ServiceProcess::~ServiceProcess()
{
    stop();
}

bool ServiceProcess::start(const QString& program, const QStringList& arguments, const QString& serviceName,
                           bool sessionBus)
{
    if (const QString problem = environmentProblem(); !problem.isEmpty()) {
        qWarning("%s", qPrintable(problem));
        return false;
    }
    process.start(program, arguments);
    QDBusConnectionInterface* bus = (sessionBus ? QDBusConnection::sessionBus() : QDBusConnection::systemBus()).interface();
    for (int i = 0; process.waitForStarted(10000) && i < 1000; ++i) {
        // Owned by this process, not by one that had it before.
        if (bus->servicePid(serviceName).value() == uint(process.processId()))
            return true;
        if (process.waitForFinished(10))
            break;
    }
    QFile log(scratchPath(QStringLiteral("stderr.log")));
    log.open(QIODevice::ReadOnly);
    qWarning("%s did not come up:\n%s", qPrintable(program), log.readAll().constData());
    return false;
}

int ServiceProcess::stop()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished(10000);
            return -1;
        }
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

const char* const PeerProcess::ServiceName = "com.zelkor.pavane.TestPeer";

bool PeerProcess::start(const QStringList& arguments)
{
    return ServiceProcess::start(QStringLiteral(TESTPEER_PATH), arguments, QLatin1String(ServiceName));
}

namespace {

QList<QVariant> call(bool sessionBus, const QString& service, const QString& path, const QString& interface,
                     const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, member);
    message.setArguments(args);
    const QDBusMessage reply = (sessionBus ? QDBusConnection::sessionBus() : QDBusConnection::systemBus()).call(message);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments() : QList<QVariant>{};
}

QList<QVariant> control(const QString& member, const QList<QVariant>& args = {})
{
    return call(true, QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
                QStringLiteral("com.zelkor.NotificationServer.Control"), member, args);
}

QList<QVariant> inspect(const QString& member, const QList<QVariant>& args = {})
{
    return call(false, QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/inspect"),
                QStringLiteral("com.zelkor.devmode.inspect"), member, args);
}

} // namespace

bool NotifydProcess::start()
{
    qDBusRegisterMetaType<QList<uint>>();
    return ServiceProcess::start(QStringLiteral(NOTIFYD_PATH), {}, QStringLiteral("org.freedesktop.Notifications"),
                                 true);
}

QList<uint> NotifydProcess::ids() const
{
    return qdbus_cast<QList<uint>>(control(QStringLiteral("Ids")).value(0));
}

QStringList NotifydProcess::get(uint id) const
{
    QStringList shown;
    for (const QVariant& value : control(QStringLiteral("Get"), {id}))
        shown << value.toString();
    return shown;
}

bool NotifydProcess::invoke(uint id) const
{
    return control(QStringLiteral("Invoke"), {id, QStringLiteral("default")}).value(0).toBool();
}

bool DevmodeProcess::start(const QStringList& arguments)
{
    return ServiceProcess::start(QStringLiteral(DEVMODED_PATH),
                                 QStringList{QStringLiteral("--state-file"), scratchPath(QStringLiteral("radio-states"))}
                                     + arguments,
                                 QStringLiteral("com.zelkor.devmode"));
}

DevmodeProcess::Request DevmodeProcess::lastRequest(const QString& member) const
{
    const QList<QVariant> reply = inspect(QStringLiteral("last_request"), {member});
    if (reply.size() != 3)
        return {};
    return Request{reply.at(0).toUInt(), reply.at(1).toBool(), qdbus_cast<QVariantList>(reply.at(2))};
}

QString DevmodeProcess::tklockMode() const
{
    return inspect(QStringLiteral("get_tklock_mode")).value(0).toString();
}

QString DevmodeProcess::displayState() const
{
    return inspect(QStringLiteral("get_display_state")).value(0).toString();
}

bool DevmodeProcess::changeRadioStates(uint states, uint mask) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/request"),
        QStringLiteral("com.zelkor.devmode.request"), QStringLiteral("req_radio_states_change"));
    message << states << mask;
    return QDBusConnection::systemBus().call(message).type() == QDBusMessage::ReplyMessage;
}

bool DevmodeProcess::reset(uint radioStates)
{
    if (!changeRadioStates(radioStates, 0x1f))
        return false;
    // Indications still on their way were sent before the reply, so they
    // are queued here by now, and reach nobody.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    for (const char* member : {"get_radio_states", "req_radio_states_change"})
        countsAtReset.insert(QLatin1String(member), lastRequest(QLatin1String(member)).count);
    return true;
}

uint DevmodeProcess::requestsSinceReset(const QString& member) const
{
    return lastRequest(member).count - countsAtReset.value(member);
}

void startNetprefs(QProcess& process, const QString& database, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(NETPREFS_TOOL), QStringList{QStringLiteral("--db"), database} + arguments);
}

int runNetprefs(const QString& database, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    startNetprefs(process, database, arguments);
    const bool finished = process.waitForFinished(30000);
    if (output)
        *output = process.readAllStandardOutput();
    return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

static MessageLog* currentLog = nullptr;

MessageLog::MessageLog()
    : previous(qInstallMessageHandler(&MessageLog::handler))
{
    currentLog = this;
}

MessageLog::~MessageLog()
{
    qInstallMessageHandler(previous);
    currentLog = nullptr;
}

QStringList MessageLog::messages(QtMsgType type) const
{
    QStringList result;
    for (int i = 0; i < lines.size(); ++i) {
        if (types.at(i) == type)
            result.append(lines.at(i));
    }
    return result;
}

void MessageLog::handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!currentLog)
        return;
    currentLog->lines.append(text);
    currentLog->types.append(type);
    if (currentLog->previous)
        currentLog->previous(type, context, text);
}

QString describe(const QVariant& value)
{
    QString text;
    QDebug(&text).nospace() << value; // names the type of every value, nested ones too
    return text;
}

QString describe(const QList<QVariant>& values)
{
    return describe(QVariant(values));
}

QVariant list(std::initializer_list<QVariant> values)
{
    return QVariant(QList<QVariant>(values));
}

void addReceiverVictimRows(const QList<const char*>& moments)
{
    QTest::addColumn<QString>("during");
    QTest::addColumn<QString>("victims");
    for (const char* during : moments) {
        for (const char* victims : {"emitter", "siblings", "everyone"})
            QTest::addRow("%s, %s", during, victims) << QString::fromLatin1(during) << QString::fromLatin1(victims);
    }
}

int receiversRun(const QString& victims)
{
    return victims == QLatin1String("emitter") ? 3 : 1;
}

int survivors(const QString& victims)
{
    return victims == QLatin1String("siblings") ? 1 : 0;
}

void DeletingReceiver::deleteVictims()
{
    ++calls;
    for (const QPointer<QObject>& victim : qAsConst(victims))
        delete victim.data();
}

} // namespace TestSupport

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

bool ServiceProcess::start(const QString& program, const QStringList& arguments,
                           const QString& serviceName, bool sessionBus)
{
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    QDBusConnectionInterface* bus = (sessionBus ? QDBusConnection::sessionBus() : QDBusConnection::systemBus()).interface();
    for (int i = 0; i < 1000; ++i) {
        // Owned by this process, not by one that had it before.
        if (bus->isServiceRegistered(serviceName)
            && bus->servicePid(serviceName).value() == uint(process.processId()))
            return true;
        if (process.waitForFinished(10))
            break;
    }
    qWarning("%s did not come up:\n%s", qPrintable(program), qPrintable(log()));
    return false;
}

int ServiceProcess::stop()
{
    if (process.state() == QProcess::NotRunning)
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(10000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString ServiceProcess::log() const
{
    QFile file(scratchPath(QStringLiteral("stderr.log")));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

const char* const PeerProcess::ServiceName = "com.zelkor.pavane.TestPeer";

bool PeerProcess::start(const QStringList& arguments)
{
    return ServiceProcess::start(QStringLiteral(TESTPEER_PATH), arguments,
                                 QLatin1String(ServiceName));
}

namespace {

QDBusMessage control(const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("com.zelkor.NotificationServer.Control"), member);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call);
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
    const QDBusMessage reply = control(QStringLiteral("Ids"));
    return qdbus_cast<QList<uint>>(reply.arguments().value(0));
}

NotifydProcess::Shown NotifydProcess::get(uint id) const
{
    const QList<QVariant> args = control(QStringLiteral("Get"), {id}).arguments();
    return Shown{args.value(0).toString(), args.value(1).toString(), args.value(2).toString(),
                 args.value(3).toString()};
}

bool NotifydProcess::invoke(uint id, const QString& action) const
{
    return control(QStringLiteral("Invoke"), {id, action}).arguments().value(0).toBool();
}

namespace {

QDBusMessage inspect(const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/inspect"),
        QStringLiteral("com.zelkor.devmode.inspect"), member);
    call.setArguments(args);
    return QDBusConnection::systemBus().call(call);
}

} // namespace

bool DevmodeProcess::start(const QStringList& arguments)
{
    return ServiceProcess::start(QStringLiteral(DEVMODED_PATH),
                                 QStringList{QStringLiteral("--state-file"), scratchPath(QStringLiteral("radio-states"))} + arguments,
                                 QStringLiteral("com.zelkor.devmode"));
}

DevmodeProcess::Request DevmodeProcess::lastRequest(const QString& member) const
{
    const QDBusMessage reply = inspect(QStringLiteral("last_request"), {member});
    Request request;
    if (reply.arguments().size() == 3) {
        request.count = reply.arguments().at(0).toUInt();
        request.replyExpected = reply.arguments().at(1).toBool();
        request.args = qdbus_cast<QVariantList>(reply.arguments().at(2));
    }
    return request;
}

QString DevmodeProcess::tklockMode() const
{
    return inspect(QStringLiteral("get_tklock_mode")).arguments().value(0).toString();
}

QString DevmodeProcess::displayState() const
{
    return inspect(QStringLiteral("get_display_state")).arguments().value(0).toString();
}

bool DevmodeProcess::changeRadioStates(uint states, uint mask) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/request"),
        QStringLiteral("com.zelkor.devmode.request"), QStringLiteral("req_radio_states_change"));
    call << states << mask;
    return QDBusConnection::systemBus().call(call).type() == QDBusMessage::ReplyMessage;
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
    process.setReadChannel(QProcess::StandardOutput);
    process.start(QStringLiteral(NETPREFS_TOOL), QStringList{QStringLiteral("--db"), database} + arguments);
}

int runNetprefs(const QString& database, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    startNetprefs(process, database, arguments);
    const bool finished = process.waitForFinished(30000);
    if (output)
        *output = process.readAllStandardOutput();
    if (!finished || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
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
    if (!value.isValid())
        return QStringLiteral("invalid");
    const QString type = QString::fromLatin1(value.typeName());
    switch (value.type()) {
    case QVariant::List:
        return type + describe(value.toList());
    case QVariant::StringList:
        return type + QLatin1Char('[') + value.toStringList().join(QLatin1Char(',')) + QLatin1Char(']');
    case QVariant::ByteArray:
        return type + QLatin1Char(':') + QString::fromLatin1(value.toByteArray().toHex());
    case QVariant::Char:
        return type + QLatin1Char(':') + QString::number(value.toChar().unicode());
    default:
        return type + QLatin1Char(':') + value.toString();
    }
}

QString describe(const QList<QVariant>& values)
{
    QStringList parts;
    for (const QVariant& value : values)
        parts.append(describe(value));
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
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

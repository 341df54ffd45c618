// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testsupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
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

// A call to devmoded's @p interface ("inspect" or "request"): its reply's
// arguments, or nothing.
QList<QVariant> devmode(const char* interface, const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/") + QLatin1String(interface),
        QStringLiteral("com.zelkor.devmode.") + QLatin1String(interface), member);
    message.setArguments(args);
    const QDBusMessage reply = QDBusConnection::systemBus().call(message);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments() : QList<QVariant>{QStringLiteral("<failed>")};
}

} // namespace

bool DevmodeProcess::start(const QStringList& arguments)
{
    return ServiceProcess::start(QStringLiteral(DEVMODED_PATH),
                                 QStringList{QStringLiteral("--state-file"), scratchPath(QStringLiteral("radio-states"))}
                                     + arguments,
                                 QStringLiteral("com.zelkor.devmode"));
}

DevmodeProcess::Request DevmodeProcess::lastRequest(const QString& member) const
{
    const QList<QVariant> reply = devmode("inspect", QStringLiteral("last_request"), {member});
    if (reply.size() != 3)
        return {};
    return Request{reply.at(0).toUInt(), reply.at(1).toBool(), qdbus_cast<QVariantList>(reply.at(2))};
}

QString DevmodeProcess::inspected(const QString& member) const
{
    return devmode("inspect", member).value(0).toString();
}

bool DevmodeProcess::changeRadioStates(uint states, uint mask) const
{
    return devmode("request", QStringLiteral("req_radio_states_change"), {states, mask}).isEmpty();
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

QStringList MessageLog::messages(int type) const
{
    QStringList result;
    for (const auto& line : lines) {
        if (type < 0 || line.first == type)
            result.append(line.second);
    }
    return result;
}

void MessageLog::handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!currentLog)
        return;
    currentLog->lines.append({type, text});
    if (currentLog->previous)
        currentLog->previous(type, context, text);
}

QString describe(const QVariant& value)
{
    QString text;
    QDebug(&text).nospace() << value; // names the type of every value, nested ones too
    return text;
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

} // namespace TestSupport

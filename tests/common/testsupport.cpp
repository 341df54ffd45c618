#include "testsupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDebug>

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

const char* const PeerProcess::ServiceName = "com.zelkor.pavane.TestPeer";

PeerProcess::~PeerProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
}

bool PeerProcess::start(const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(TESTPEER_PATH), arguments);
    if (!process.waitForStarted(10000))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return false;
    }
    return process.readLine().trimmed() == "ready";
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

} // namespace TestSupport

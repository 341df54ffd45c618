// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/connectivityuiutils.h>

#include "device/devmodenames_p.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace Pavane {

namespace {

QDBusMessage modeRequest(const char* member)
{
    return QDBusMessage::createMethodCall(QLatin1String(DevMode::Service),
                                          QLatin1String(DevMode::BasePath),
                                          QLatin1String(DevMode::RequestInterface),
                                          QLatin1String(member));
}

} // namespace

ConnectivityUIUtils::~ConnectivityUIUtils() = default;

void ConnectivityUIUtils::unlockScreen()
{
    QDBusMessage message = modeRequest(DevMode::ReqTklockModeChange);
    message << QStringLiteral("unlocked");
    QDBusConnection::systemBus().send(message);
}

void ConnectivityUIUtils::unblankDisplay()
{
    unblankDisplay(nullptr, nullptr, nullptr, -1);
}

void ConnectivityUIUtils::unblankDisplay(QObject* receiver, const char* returnMethod,
                                         const char* errorMethod, int timeout)
{
    const QDBusMessage message = modeRequest(DevMode::ReqDisplayStateOn);
    // The caller names its methods as text, the form QtDBus takes them in:
    // they are handed on unchanged.
    if (receiver && returnMethod && errorMethod)
        QDBusConnection::systemBus().callWithCallback(message, receiver, returnMethod, errorMethod,
                                                      timeout);
    else
        QDBusConnection::systemBus().send(message);
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_BUSSERVICE_H
#define PLATFORM_BUSSERVICE_H

// A daemon's hold on its bus: owning its well-known name, and leaving when
// the bus goes away (a service without its bus only looks alive).

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>

// Owns @p name on @p bus, without queueing for it or taking it over. Empty
// when the name is ours, otherwise why not, in the bus's words.
inline QString ownServiceName(const QDBusConnection& bus, const QString& name)
{
    QDBusConnectionInterface* busInterface = bus.interface();
    if (!busInterface)
        return QStringLiteral("not a message bus");
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = busInterface->registerService(
        name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        const QDBusError error = reply.error();
        return error.message().isEmpty() ? error.name() : error.message();
    }
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return {};
    const QString owner = busInterface->serviceOwner(name).value();
    return QStringLiteral("the name is already owned by %1")
        .arg(owner.isEmpty() ? QStringLiteral("another connection") : owner);
}

// Ends @p app's event loop when @p bus disconnects; afterwards
// bus.isConnected() tells this apart from an ordinary quit.
inline bool quitWhenBusGoes(QCoreApplication& app, QDBusConnection& bus)
{
    return bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                       QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), &app,
                       SLOT(quit()));
}

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// notifyd: a notification server on the desktop standard
// (org.freedesktop.Notifications), with a control interface through which a
// test or a demo plays the person at the screen.
#include "notificationserver.h"

#include "busservice.h"
#include "daemoncommandline.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>

int main(int argc, char** argv)
{
    const int terminationFd = blockTerminationSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("notifyd"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOOL_VERSION));
    qSetMessagePattern(QStringLiteral("notifyd: %{if-warning}warning: %{endif}%{message}"));
    qDBusRegisterMetaType<QList<uint>>();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A notification server for tests and demos."));
    addDaemonOptions(options, QDBusConnection::SessionBus);
    if (const int status = parseDaemonOptions(options); status >= 0)
        return status;

    const char* const tool = "notifyd";
    QDBusConnection bus = connectDaemonBus(options, QDBusConnection::SessionBus);
    if (!bus.isConnected())
        return runtimeFailure(tool, "cannot connect to the bus: %s", qPrintable(bus.lastError().message()));

    NotificationServer server;
    new NotificationsAdaptor(&server);
    new ControlAdaptor(&server);
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server))
        return runtimeFailure(tool, "cannot register /org/freedesktop/Notifications");
    const QString refusal = ownServiceName(bus, QStringLiteral("org.freedesktop.Notifications"));
    if (!refusal.isEmpty())
        return runtimeFailure(tool, "cannot own org.freedesktop.Notifications: %s", qPrintable(refusal));
    if (!quitWhenBusGoes(app, bus))
        qWarning("cannot watch the bus connection");
    if (!quitOnTerminationSignals(app, terminationFd))
        qWarning("cannot watch for SIGTERM and SIGINT");
    qInfo("serving org.freedesktop.Notifications");
    const int status = app.exec();
    if (!bus.isConnected())
        return runtimeFailure(tool, "lost the bus; leaving");
    return status;
}

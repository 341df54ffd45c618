// notifyd: a notification server on the desktop standard
// (org.freedesktop.Notifications), with a control interface through which a
// test or a demo plays the person at the screen.
#include "notificationserver.h"

#include "busservice.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>

#include <cstdio>

int main(int argc, char** argv)
{
    const int terminationFd = blockTerminationSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("notifyd"));
    qSetMessagePattern(QStringLiteral("notifyd: %{if-warning}warning: %{endif}%{message}"));
    qDBusRegisterMetaType<QList<uint>>();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A notification server for tests and demos."));
    options.addHelpOption();
    options.addOptions({
        {QStringLiteral("session"), QStringLiteral("Serve on the session bus (the default).")},
        {QStringLiteral("system"), QStringLiteral("Serve on the system bus.")},
        {QStringLiteral("address"), QStringLiteral("Serve on the bus at <address>."), QStringLiteral("address")},
    });
    options.process(app);

    QDBusConnection bus = options.isSet(QStringLiteral("address"))
        ? QDBusConnection::connectToBus(options.value(QStringLiteral("address")), QStringLiteral("notifyd"))
        : options.isSet(QStringLiteral("system")) ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "notifyd: cannot connect to the bus\n");
        return 1;
    }

    NotificationServer server;
    new NotificationsAdaptor(&server);
    new ControlAdaptor(&server);
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server)) {
        std::fprintf(stderr, "notifyd: cannot register /org/freedesktop/Notifications\n");
        return 1;
    }
    const QString refusal = ownServiceName(bus, QStringLiteral("org.freedesktop.Notifications"));
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "notifyd: cannot own org.freedesktop.Notifications: %s\n", qPrintable(refusal));
        return 1;
    }
    if (!quitWhenBusGoes(app, bus))
        qWarning("cannot watch the bus connection");
    if (!quitOnTerminationSignals(app, terminationFd))
        qWarning("cannot watch for SIGTERM and SIGINT");
    qInfo("serving org.freedesktop.Notifications");
    const int status = app.exec();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "notifyd: lost the bus; leaving\n");
        return 1;
    }
    return status;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// A DBusDispatcher talks to one service of the system bus; here the bus's
// own, which every machine has. It shows a blocking call, an asynchronous
// one, and a signal. The dispatcher's connection is its own and it asks for
// no signals: it sees only those addressed to that connection, such as the
// bus's NameAcquired, which names every new connection.
#include <Pavane/DBusDispatcher>

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    // The event loop must run on GLib (Qt's default on Linux): the
    // dispatcher's replies and signals come through it.
    QCoreApplication app(argc, argv);
    Pavane::DBusDispatcher bus(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                               QStringLiteral("org.freedesktop.DBus"));

    // Blocks until the reply; an empty list on any failure.
    const QList<QVariant> id = bus.call(QStringLiteral("GetId"));
    if (id.isEmpty()) {
        std::fprintf(stderr, "dispatcher: no system bus\n");
        return 1;
    }
    std::printf("the bus's id is %s\n", qPrintable(id.first().toString()));

    // Ends once the asynchronous reply and the signal have both arrived.
    int awaited = 2;
    QObject::connect(&bus, &Pavane::DBusDispatcher::callReply, &app,
                     [&](const QString& method, const QList<QVariant>& args, const QString& error) {
        if (error.isNull())
            std::printf("%s: %d names\n", qPrintable(method), int(args.value(0).toStringList().size()));
        else
            std::printf("%s failed: %s\n", qPrintable(method), qPrintable(error));
        if (--awaited == 0)
            app.quit();
    });
    QObject::connect(&bus, &Pavane::DBusDispatcher::signalReceived, &app,
                     [&](const QString& interface, const QString& signal, const QList<QVariant>& args) {
        std::printf("signal %s.%s(%s)\n", qPrintable(interface), qPrintable(signal),
                    qPrintable(args.value(0).toString()));
        if (signal == QLatin1String("NameAcquired") && --awaited == 0)
            app.quit();
    });
    bus.callAsynchronous(QStringLiteral("ListNames"));

    QTimer::singleShot(10000, &app, [&app] {
        std::fprintf(stderr, "dispatcher: no answer\n");
        app.exit(1);
    });
    return app.exec();
}

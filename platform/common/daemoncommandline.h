// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_DAEMONCOMMANDLINE_H
#define PLATFORM_DAEMONCOMMANDLINE_H

// The command line the daemons share: --help, --version, and the bus to
// serve on. QCommandLineParser::process() would leave with status 1 on a
// mistake in the call, which a caller could not tell from a daemon that
// failed; these functions keep the platform's statuses instead.

#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>

// Adds --help, --version, and --system, --session and --address, of which
// @p defaultBus is the one taken when none is given.
inline void addDaemonOptions(QCommandLineParser& options, QDBusConnection::BusType defaultBus)
{
    const auto bus = [defaultBus](QDBusConnection::BusType type, const char* which) {
        return QStringLiteral("Serve on the %1 bus%2.")
            .arg(QLatin1String(which), type == defaultBus ? QStringLiteral(" (the default)") : QString());
    };
    // A word with one dash is a long option, so that "-address" is not read
    // as the letters a, d, d, r...
    options.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    options.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and leave.")},
        {QStringLiteral("version"), QStringLiteral("Print the version and leave.")},
        {QStringLiteral("system"), bus(QDBusConnection::SystemBus, "system")},
        {QStringLiteral("session"), bus(QDBusConnection::SessionBus, "session")},
        {QStringLiteral("address"), QStringLiteral("Serve on the bus at <address>."), QStringLiteral("address")},
    });
}

// Parses the application's arguments. -1 when the daemon is to go on,
// otherwise the status to leave with, once the help, the version or the
// usage error has been printed.
inline int parseDaemonOptions(QCommandLineParser& options)
{
    const QByteArray tool = QCoreApplication::applicationName().toLocal8Bit();
    if (!options.parse(QCoreApplication::arguments())) {
        // Qt writes a sentence ("Unknown option 'x'."); ours are fragments.
        QString error = options.errorText();
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        return usageError(tool.constData(), "%s", qPrintable(error.left(1).toLower() + error.mid(1)));
    }
    if (options.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(options.helpText()), stdout);
        return 0;
    }
    if (options.isSet(QStringLiteral("version")))
        return printVersion(tool.constData(), qPrintable(QCoreApplication::applicationVersion()));
    if (!options.positionalArguments().isEmpty())
        return usageError(tool.constData(), "unexpected argument '%s'", qPrintable(options.positionalArguments().first()));

    // Named in the order given, as the caller wrote them.
    QStringList buses;
    for (const QString& name : options.optionNames()) {
        if ((name == QLatin1String("system") || name == QLatin1String("session") || name == QLatin1String("address"))
            && !buses.contains(name))
            buses.append(name);
    }
    if (buses.size() > 1)
        return usageError(tool.constData(), "--%s and --%s exclude each other", qPrintable(buses.at(0)),
                          qPrintable(buses.at(1)));
    if (options.isSet(QStringLiteral("address")) && options.value(QStringLiteral("address")).isEmpty())
        return usageError(tool.constData(), "--address takes a bus address, not ''");
    return -1;
}

// The bus the options name; check isConnected().
inline QDBusConnection connectDaemonBus(const QCommandLineParser& options, QDBusConnection::BusType defaultBus)
{
    if (options.isSet(QStringLiteral("address")))
        return QDBusConnection::connectToBus(options.value(QStringLiteral("address")),
                                             QCoreApplication::applicationName());
    if (options.isSet(QStringLiteral("system")))
        return QDBusConnection::systemBus();
    if (options.isSet(QStringLiteral("session")))
        return QDBusConnection::sessionBus();
    return defaultBus == QDBusConnection::SystemBus ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
}

#endif

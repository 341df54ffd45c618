// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// devmoded: the device-mode daemon. Owns "com.zelkor.devmode" and keeps the
// radio switches (persisted, or the kernel's radio kill switches), the
// touch-screen lock mode and the display state.
#include "devmodeinterface.h"
#include "devmodeservice.h"
#include "rfkillradios.h"
#include "statefile.h"

#include "busservice.h"
#include "daemoncommandline.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cerrno>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    const int terminationFd = blockTerminationSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devmoded"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOOL_VERSION));
    qSetMessagePattern(QStringLiteral("devmoded: %{if-warning}warning: %{endif}%{message}"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Device-mode daemon: radio switches, touch-screen lock and display state on D-Bus."));
    addDaemonOptions(options, QDBusConnection::SystemBus);
    options.addOptions({
        {QStringLiteral("state-file"),
         QStringLiteral("Keep the radio states in <path> (default %1).").arg(StateFile::defaultPath()),
         QStringLiteral("path")},
        {QStringLiteral("radio-states"),
         QStringLiteral("Start with this radio states word (0..0x1f) instead of the stored one."),
         QStringLiteral("word")},
        {QStringLiteral("tklock"),
         QStringLiteral("Initial touch-screen lock mode: locked, silent-locked, unlocked (default) "
                        "or silent-unlocked."),
         QStringLiteral("mode"), QStringLiteral("unlocked")},
        {QStringLiteral("display"), QStringLiteral("Initial display state: on (default) or off."),
         QStringLiteral("state"), QStringLiteral("on")},
        {QStringLiteral("rfkill"),
         QStringLiteral("Switch the machine's radios through the kernel's radio kill switches (%1); "
                        "without that device, keep the radio states in the state file.")
             .arg(RfkillRadios::defaultPath())},
        {QStringLiteral("rfkill-device"), QStringLiteral("As --rfkill, with the device at <path>."),
         QStringLiteral("path")},
        {QStringLiteral("rfkill-record-size"),
         QStringLiteral("Read the device's events as records of <bytes> (8..255) instead of the size "
                        "agreed with the kernel: for a device standing in for the kernel's."),
         QStringLiteral("bytes")},
    });
    if (const int status = parseDaemonOptions(options); status >= 0)
        return status;

    // Every value is checked before the state file is read or the bus is
    // touched: a mistake in the call changes nothing.
    const char* const tool = "devmoded";
    DevModeService::InitialState initial{0, options.value(QStringLiteral("tklock")),
                                         options.value(QStringLiteral("display"))};
    const bool radioStatesGiven = options.isSet(QStringLiteral("radio-states"));
    if (radioStatesGiven) {
        const QString word = options.value(QStringLiteral("radio-states"));
        bool ok = false;
        initial.radioStates = word.toUInt(&ok, 0);
        if (!ok || initial.radioStates > DevMode::AllRadios)
            return usageError(tool, "--radio-states takes a word within 0..0x1f, not '%s'", qPrintable(word));
    }
    if (!DevModeService::isKnownTklockMode(initial.tklockMode))
        return usageError(tool, "--tklock takes locked, silent-locked, unlocked or silent-unlocked, not '%s'",
                          qPrintable(initial.tklockMode));
    if (initial.displayState != QLatin1String("on") && initial.displayState != QLatin1String("off"))
        return usageError(tool, "--display takes on or off, not '%s'", qPrintable(initial.displayState));
    const QString stateFilePath = options.value(QStringLiteral("state-file"));
    if (options.isSet(QStringLiteral("state-file")) && stateFilePath.isEmpty())
        return usageError(tool, "--state-file takes a path, not ''");

    const bool rfkillGiven = options.isSet(QStringLiteral("rfkill")) || options.isSet(QStringLiteral("rfkill-device"));
    const QString rfkillPath = options.isSet(QStringLiteral("rfkill-device"))
        ? options.value(QStringLiteral("rfkill-device")) : RfkillRadios::defaultPath();
    if (rfkillPath.isEmpty())
        return usageError(tool, "--rfkill-device takes a path, not ''");
    int recordSize = 0;
    if (options.isSet(QStringLiteral("rfkill-record-size"))) {
        const QString bytes = options.value(QStringLiteral("rfkill-record-size"));
        bool ok = false;
        recordSize = bytes.toInt(&ok, 10);
        if (!ok || recordSize < RfkillEventReader::ShortestRecord || recordSize > RfkillEventReader::LongestRecord)
            return usageError(tool, "--rfkill-record-size takes a size within 8..255, not '%s'", qPrintable(bytes));
        if (!rfkillGiven)
            return usageError(tool, "--rfkill-record-size needs --rfkill or --rfkill-device");
    }
    // The kernel keeps the radios' states: a word to start from would
    // overrule it behind everyone's back.
    if (rfkillGiven && radioStatesGiven)
        return usageError(tool, "--radio-states and --%s exclude each other",
                          options.isSet(QStringLiteral("rfkill")) ? "rfkill" : "rfkill-device");

    const StateFile stateFile(stateFilePath.isEmpty() ? StateFile::defaultPath() : stateFilePath);
    if (!radioStatesGiven)
        initial.radioStates = stateFile.load();

    // Before the bus: a device that cannot serve is told as early as a bus
    // that cannot.
    std::unique_ptr<RfkillRadios> radios;
    if (rfkillGiven) {
        radios.reset(new RfkillRadios);
        const int error = radios->open(rfkillPath, recordSize, initial.radioStates);
        if (error == ENOENT) {
            // A machine without radios.
            qWarning("no radio switches at %s; radio states kept in %s", qPrintable(rfkillPath),
                     qPrintable(stateFile.path()));
            radios.reset();
        } else if (error != 0) {
            return runtimeFailure(tool, "cannot read the radio switches at %s: %s", qPrintable(rfkillPath),
                                  error == ENODATA ? "end of file" : std::strerror(error));
        } else {
            qInfo("radio switches at %s, records of %d bytes", qPrintable(rfkillPath), radios->recordSize());
        }
    }

    QDBusConnection bus = connectDaemonBus(options, QDBusConnection::SystemBus);
    if (!bus.isConnected())
        return runtimeFailure(tool, "cannot connect to the bus: %s", qPrintable(bus.lastError().message()));
    DevModeService service(bus, stateFile, initial, radios.get());
    if (!bus.registerVirtualObject(QLatin1String(DevMode::BasePath), &service,
                                   QDBusConnection::SubPath))
        return runtimeFailure(tool, "cannot register the objects below %s", DevMode::BasePath);
    const QString refusal = ownServiceName(bus, QLatin1String(DevMode::Service));
    if (!refusal.isEmpty())
        return runtimeFailure(tool, "cannot own %s: %s", DevMode::Service, qPrintable(refusal));
    // Only the owner of the name may write the state: a second instance that
    // could not start must leave the running one's file alone.
    if (radioStatesGiven)
        stateFile.save(initial.radioStates);
    if (radios) {
        radios->activate();
        // Offline mode found at start (every radio blocked) outlives it.
        if (radios->wish() != initial.radioStates)
            stateFile.save(radios->wish());
    }
    if (!quitWhenBusGoes(app, bus))
        qWarning("cannot watch the bus connection");
    if (!quitOnTerminationSignals(app, terminationFd))
        qWarning("cannot watch for SIGTERM and SIGINT");
    qInfo("serving %s", DevMode::Service);

    const int status = app.exec();
    if (!bus.isConnected())
        return runtimeFailure(tool, "lost the bus; leaving");
    bus.unregisterService(QLatin1String(DevMode::Service));
    bus.unregisterObject(QLatin1String(DevMode::BasePath), QDBusConnection::UnregisterTree);
    return status;
}

// devmoded: the device-mode daemon. Owns "com.zelkor.devmode" and keeps the
// radio switches (persisted), the touch-screen lock mode and the display
// state.
#include "devmodeinterface.h"
#include "devmodeservice.h"
#include "statefile.h"

#include "busservice.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

namespace {

QDBusConnection connectBus(const QCommandLineParser& options)
{
    if (options.isSet(QStringLiteral("address")))
        return QDBusConnection::connectToBus(options.value(QStringLiteral("address")),
                                             QStringLiteral("devmoded"));
    if (options.isSet(QStringLiteral("session")))
        return QDBusConnection::sessionBus();
    return QDBusConnection::systemBus();
}

} // namespace

int main(int argc, char** argv)
{
    const int terminationFd = blockTerminationSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devmoded"));
    qSetMessagePattern(QStringLiteral("devmoded: %{if-warning}warning: %{endif}"
                                      "%{if-critical}error: %{endif}%{message}"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Device-mode daemon: radio switches, touch-screen lock and display state on D-Bus."));
    options.addHelpOption();
    options.addOptions({
        {QStringLiteral("system"), QStringLiteral("Serve on the system bus (the default).")},
        {QStringLiteral("session"), QStringLiteral("Serve on the session bus.")},
        {QStringLiteral("address"), QStringLiteral("Serve on the bus at <address>."),
         QStringLiteral("address")},
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
    });
    options.process(app);

    const StateFile stateFile(options.isSet(QStringLiteral("state-file"))
                                  ? options.value(QStringLiteral("state-file"))
                                  : StateFile::defaultPath());
    DevModeService::InitialState initial{0, options.value(QStringLiteral("tklock")),
                                         options.value(QStringLiteral("display"))};
    if (options.isSet(QStringLiteral("radio-states"))) {
        bool ok = false;
        initial.radioStates = options.value(QStringLiteral("radio-states")).toUInt(&ok, 0);
        if (!ok || initial.radioStates > DevMode::AllRadios) {
            std::fprintf(stderr, "devmoded: --radio-states takes a word within 0..0x1f\n");
            return 2;
        }
    } else {
        initial.radioStates = stateFile.load();
    }
    if (!DevModeService::isKnownTklockMode(initial.tklockMode)) {
        std::fprintf(stderr, "devmoded: unknown --tklock mode\n");
        return 2;
    }
    if (initial.displayState != QLatin1String("on") && initial.displayState != QLatin1String("off")) {
        std::fprintf(stderr, "devmoded: --display takes on or off\n");
        return 2;
    }

    QDBusConnection bus = connectBus(options);
    if (!bus.isConnected()) {
        qCritical("cannot connect to the bus: %s", qPrintable(bus.lastError().message()));
        return 1;
    }
    DevModeService service(bus, stateFile, initial);
    if (!bus.registerVirtualObject(QLatin1String(DevMode::BasePath), &service,
                                   QDBusConnection::SubPath)) {
        qCritical("cannot register the objects below %s", DevMode::BasePath);
        return 1;
    }
    const QString refusal = ownServiceName(bus, QLatin1String(DevMode::Service));
    if (!refusal.isEmpty()) {
        qCritical("cannot own %s: %s", DevMode::Service, qPrintable(refusal));
        return 1;
    }
    // Only the owner of the name may write the state: a second instance that
    // could not start must leave the running one's file alone.
    if (options.isSet(QStringLiteral("radio-states")))
        stateFile.save(initial.radioStates);
    if (!quitWhenBusGoes(app, bus))
        qWarning("cannot watch the bus connection");
    if (!quitOnTerminationSignals(app, terminationFd))
        qWarning("cannot watch for SIGTERM and SIGINT");
    qInfo("serving %s", DevMode::Service);

    const int status = app.exec();
    if (!bus.isConnected()) {
        qCritical("lost the bus; leaving");
        return 1;
    }
    bus.unregisterService(QLatin1String(DevMode::Service));
    bus.unregisterObject(QLatin1String(DevMode::BasePath), QDBusConnection::UnregisterTree);
    return status;
}

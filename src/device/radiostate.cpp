// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/radiostate.h>

#include "device/radiostate_p.h"
#include "device/devmodenames_p.h"
#include "logging/pavanelogging_p.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

namespace Pavane {

namespace {

// QtDBus takes the receiving slot of a bus signal only by name.
bool connectIndication(QDBusConnection bus, RadioStateRegistry* receiver, bool connect)
{
    const QString service = QLatin1String(DevMode::Service);
    const QString path = QLatin1String(DevMode::SignalPath);
    const QString interface = QLatin1String(DevMode::SignalInterface);
    const QString name = QLatin1String(DevMode::RadioStatesInd);
    const QString signature = QStringLiteral("u");
    const char* slot = SLOT(stateSignal(quint32));
    return connect ? bus.connect(service, path, interface, name, signature, receiver, slot)
                   : bus.disconnect(service, path, interface, name, signature, receiver, slot);
}

} // namespace

DevModeRequestInterface::DevModeRequestInterface(QObject* parent)
    : QDBusAbstractInterface(QLatin1String(DevMode::Service), QLatin1String(DevMode::RequestPath),
                             DevMode::RequestInterface, QDBusConnection::systemBus(), parent)
{
}

RadioStateRegistry* RadioStateRegistry::instance = nullptr;

RadioStateRegistry::RadioStateRegistry()
{
    if (!connectIndication(QDBusConnection::systemBus(), this, true))
        qCWarning(lcDevice, "Unable to connect devmode radio states signal handler!");
}

RadioStateRegistry::~RadioStateRegistry()
{
    // A query still in flight is never handled.
    delete statusWatcher;
    delete requestInterface;
    connectIndication(QDBusConnection::systemBus(), this, false);
}

RadioStateRegistry* RadioStateRegistry::enrol(RadioState* state, RadioState::Radios radios)
{
    if (!instance)
        instance = new RadioStateRegistry;
    instance->instances.insert(state, radios & RadioState::AllRadios);
    instance->unannounced.insert(state);
    if (!instance->statusWatcher)
        instance->startQuery();
    return instance;
}

void RadioStateRegistry::withdraw(RadioState* state)
{
    instances.remove(state);
    unannounced.remove(state);
    if (instances.isEmpty()) {
        // The next RadioState starts afresh and queries the daemon again.
        instance = nullptr;
        delete this;
    }
}

DevModeRequestInterface* RadioStateRegistry::interface()
{
    if (!requestInterface)
        requestInterface = new DevModeRequestInterface(nullptr);
    return requestInterface;
}

void RadioStateRegistry::startQuery()
{
    statusWatcher = new QDBusPendingCallWatcher(
        interface()->asyncCall(QLatin1String(DevMode::GetRadioStates)));
    connect(statusWatcher, &QDBusPendingCallWatcher::finished, this, &RadioStateRegistry::statusCallback);
}

bool RadioStateRegistry::answerQuery(const RadioState* state)
{
    // The reply is handled here rather than through finished(), so that the
    // waiting object's answer is taken before the word is handed round: a
    // slot may destroy that object, or every RadioState and with them this
    // registry, while it is.
    QDBusPendingCallWatcher* watcher = statusWatcher;
    disconnect(watcher, nullptr, this, nullptr);
    watcher->waitForFinished();
    const quint32 before = radioStates;
    const bool answered = takeAnswer(watcher);
    const bool enabled = decide(state);
    if (answered)
        announceAnswer(before);
    return enabled;
}

bool RadioStateRegistry::decide(const RadioState* state) const
{
    const auto it = instances.constFind(const_cast<RadioState*>(state));
    if (it == instances.constEnd())
        return true;
    const quint32 radios = quint32(int(it.value()));
    return (radios & radioStates) == radios;
}

void RadioStateRegistry::requestChange(const RadioState* state, bool enabled)
{
    const quint32 radios = quint32(int(instances.value(const_cast<RadioState*>(state))));
    const QDBusPendingCall call = interface()->asyncCall(
        QLatin1String(DevMode::ReqRadioStatesChange), enabled ? radios : quint32(0), radios);
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &RadioStateRegistry::setEnabledCallback);
}

void RadioStateRegistry::stateSignal(quint32 states)
{
    // The daemon's indications go to everyone, changed or not: listeners
    // re-sync on them.
    radioStates = states;
    notify(instances.keys());
}

void RadioStateRegistry::announceAnswer(quint32 before)
{
    // Every new RadioState asks the daemon. If its answer told everyone again,
    // a receiver that creates a RadioState on being told (the master radio's
    // one tells every OfflineMode) would ask and be told for ever.
    notify(radioStates != before ? instances.keys() : unannounced.values());
}

void RadioStateRegistry::notify(const QList<RadioState*>& states)
{
    for (RadioState* state : states)
        unannounced.remove(state);
    // A slot may destroy RadioStates, even the last one and with it this
    // object: each is looked up again before it is notified.
    const QPointer<RadioStateRegistry> alive(this);
    for (RadioState* state : states) {
        if (!alive)
            return;
        if (instances.contains(state))
            Q_EMIT state->enabledChanged(decide(state));
    }
}

void RadioStateRegistry::statusCallback(QDBusPendingCallWatcher* watcher)
{
    const quint32 before = radioStates;
    if (takeAnswer(watcher))
        announceAnswer(before);
}

bool RadioStateRegistry::takeAnswer(QDBusPendingCallWatcher* watcher)
{
    // Let go of the watcher before anyone is notified, so that a slot calling
    // enabled() does not wait on it again, and one destroying the last
    // RadioState does not delete it in the middle of its own signal.
    if (watcher == statusWatcher)
        statusWatcher = nullptr;
    watcher->deleteLater();

    const QDBusPendingReply<quint32> reply = *watcher;
    if (reply.isError()) {
        qCWarning(lcDevice, "RadioState statusCallback failed: %s, %s",
                  reply.error().name().toUtf8().constData(),
                  reply.error().message().toUtf8().constData());
        return false;
    }
    radioStates = reply.value();
    return true;
}

void RadioStateRegistry::setEnabledCallback(QDBusPendingCallWatcher* watcher)
{
    const QDBusPendingReply<> reply = *watcher;
    if (reply.isError())
        qCWarning(lcDevice, "RadioState setEnabledCallback failed: %s, %s",
                  reply.error().name().toUtf8().constData(),
                  reply.error().message().toUtf8().constData());
    watcher->deleteLater();
}

RadioState::RadioState(Radios radios, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<RadioStatePrivate>(RadioStateRegistry::enrol(this, radios)))
{
}

RadioState::~RadioState()
{
    d->registry->withdraw(this);
}

bool RadioState::enabled() const
{
    RadioStateRegistry* registry = d->registry;
    return registry->isQueryInFlight() ? registry->answerQuery(this) : registry->decide(this);
}

void RadioState::setEnabled(bool enabled)
{
    d->registry->requestChange(this, enabled);
}

} // namespace Pavane

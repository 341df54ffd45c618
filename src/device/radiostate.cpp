#include <Pavane/radiostate.h>

#include "device/radiostate_p.h"
#include "device/devmodenames_p.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

namespace Pavane {

namespace {

bool connectIndication(QDBusConnection bus, RadioStatePrivate* receiver, bool connect)
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

RadioStatePrivate* RadioStatePrivate::shared = nullptr;

RadioStatePrivate::RadioStatePrivate()
{
    if (!connectIndication(QDBusConnection::systemBus(), this, true))
        qWarning("Unable to connect devmode radio states signal handler!");
}

RadioStatePrivate::~RadioStatePrivate()
{
    // A query still in flight is never handled.
    delete statusWatcher;
    delete requestInterface;
    connectIndication(QDBusConnection::systemBus(), this, false);
}

RadioStatePrivate* RadioStatePrivate::acquire(RadioState* state, RadioState::Radios radios)
{
    if (!shared)
        shared = new RadioStatePrivate;
    shared->instances.insert(state, radios & RadioState::AllRadios);
    if (!shared->statusWatcher)
        shared->startQuery();
    return shared;
}

void RadioStatePrivate::release(RadioState* state)
{
    instances.remove(state);
    if (instances.isEmpty()) {
        // The next RadioState starts afresh and queries the daemon again.
        shared = nullptr;
        delete this;
    }
}

DevModeRequestInterface* RadioStatePrivate::interface()
{
    if (!requestInterface)
        requestInterface = new DevModeRequestInterface(nullptr);
    return requestInterface;
}

void RadioStatePrivate::startQuery()
{
    statusWatcher = new QDBusPendingCallWatcher(
        interface()->asyncCall(QLatin1String(DevMode::GetRadioStates)));
    connect(statusWatcher, SIGNAL(finished(QDBusPendingCallWatcher*)),
            this, SLOT(statusCallback(QDBusPendingCallWatcher*)));
}

bool RadioStatePrivate::answerQuery(const RadioState* state)
{
    // The reply is handled here rather than through finished(), so that the
    // waiting object's answer is taken before the word is handed round: a
    // slot may destroy that object, or every RadioState and with them this
    // private object, while it is.
    QDBusPendingCallWatcher* watcher = statusWatcher;
    disconnect(watcher, nullptr, this, nullptr);
    watcher->waitForFinished();
    const bool answered = takeAnswer(watcher);
    const bool enabled = decide(state);
    if (answered)
        notifyAll();
    return enabled;
}

bool RadioStatePrivate::decide(const RadioState* state) const
{
    const auto it = instances.constFind(const_cast<RadioState*>(state));
    if (it == instances.constEnd())
        return true;
    const quint32 radios = quint32(int(it.value()));
    return (radios & radioStates) == radios;
}

void RadioStatePrivate::requestChange(const RadioState* state, bool enabled)
{
    const quint32 radios = quint32(int(instances.value(const_cast<RadioState*>(state))));
    const QDBusPendingCall call = interface()->asyncCall(
        QLatin1String(DevMode::ReqRadioStatesChange), enabled ? radios : quint32(0), radios);
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, SIGNAL(finished(QDBusPendingCallWatcher*)),
            this, SLOT(setEnabledCallback(QDBusPendingCallWatcher*)));
}

void RadioStatePrivate::stateSignal(quint32 states)
{
    radioStates = states;
    notifyAll();
}

void RadioStatePrivate::notifyAll()
{
    // A slot may destroy RadioStates, even the last one and with it this
    // object: each is looked up again before it is notified.
    QPointer<RadioStatePrivate> alive(this);
    const QList<RadioState*> snapshot = instances.keys();
    for (RadioState* state : snapshot) {
        if (!alive)
            return;
        if (instances.contains(state))
            Q_EMIT state->enabledChanged(decide(state));
    }
}

void RadioStatePrivate::statusCallback(QDBusPendingCallWatcher* watcher)
{
    if (takeAnswer(watcher))
        notifyAll();
}

bool RadioStatePrivate::takeAnswer(QDBusPendingCallWatcher* watcher)
{
    // Let go of the watcher before anyone is notified, so that a slot calling
    // enabled() does not wait on it again, and one destroying the last
    // RadioState does not delete it in the middle of its own signal.
    if (watcher == statusWatcher)
        statusWatcher = nullptr;
    watcher->deleteLater();

    const QDBusPendingReply<quint32> reply = *watcher;
    if (reply.isError()) {
        qWarning("RadioState statusCallback failed: %s, %s", reply.error().name().toUtf8().constData(),
                 reply.error().message().toUtf8().constData());
        return false;
    }
    radioStates = reply.value();
    return true;
}

void RadioStatePrivate::setEnabledCallback(QDBusPendingCallWatcher* watcher)
{
    const QDBusPendingReply<> reply = *watcher;
    if (reply.isError())
        qWarning("RadioState setEnabledCallback failed: %s, %s",
                 reply.error().name().toUtf8().constData(),
                 reply.error().message().toUtf8().constData());
    watcher->deleteLater();
}

RadioState::RadioState(Radios radios, QObject* parent)
    : QObject(parent)
    , d(RadioStatePrivate::acquire(this, radios))
{
}

RadioState::~RadioState()
{
    d->release(this);
}

bool RadioState::enabled() const
{
    return d->statusWatcher ? d->answerQuery(this) : d->decide(this);
}

void RadioState::setEnabled(bool enabled)
{
    d->requestChange(this, enabled);
}

} // namespace Pavane

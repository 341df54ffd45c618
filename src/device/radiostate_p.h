// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_RADIOSTATE_P_H
#define PAVANE_RADIOSTATE_P_H

#include <Pavane/radiostate.h>

#include <QDBusAbstractInterface>
#include <QMap>
#include <QObject>
#include <QSet>

class QDBusPendingCallWatcher;

namespace Pavane {

// A proxy for the daemon's request object. Unlike QDBusInterface it does not
// introspect the daemon, which would block the GUI thread on first use.
class DevModeRequestInterface : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit DevModeRequestInterface(QObject* parent);
};

// The daemon's radio states as the whole process knows them: the last radio
// states word, the query in flight, every live RadioState with its radio set
// and the one request proxy. Created with the first RadioState, destroyed
// with the last, so that the next one queries the daemon afresh.
class RadioStateRegistry : public QObject
{
    Q_OBJECT

public:
    static RadioStateRegistry* enrol(RadioState* state, RadioState::Radios radios);
    // Destroys the registry when @p state was the last one enrolled.
    void withdraw(RadioState* state);

    bool decide(const RadioState* state) const;
    // Waits for the query in flight and hands its answer round; returns
    // @p state's answer, taken before anyone is notified.
    bool answerQuery(const RadioState* state);
    void requestChange(const RadioState* state, bool enabled);
    bool isQueryInFlight() const { return statusWatcher != nullptr; }

public Q_SLOTS:
    // A slot, not a plain function: QtDBus connects the daemon's indication
    // to it by name.
    void stateSignal(quint32 states);

private:
    RadioStateRegistry();
    ~RadioStateRegistry() override;

    DevModeRequestInterface* interface();
    void startQuery();
    void statusCallback(QDBusPendingCallWatcher* watcher);
    void setEnabledCallback(QDBusPendingCallWatcher* watcher);
    // Stores the query's answer; false (with a warning) on an error reply.
    bool takeAnswer(QDBusPendingCallWatcher* watcher);
    // Hands a query's answer round: to everyone when it changed the word
    // from @p before, else only to those that have heard no word yet.
    void announceAnswer(quint32 before);
    // Emits enabledChanged on those of @p states still alive.
    void notify(const QList<RadioState*>& states);

    quint32 radioStates = 0;
    QDBusPendingCallWatcher* statusWatcher = nullptr;
    QMap<RadioState*, RadioState::Radios> instances;
    // Enrolled since the word was last handed round.
    QSet<RadioState*> unannounced;
    DevModeRequestInterface* requestInterface = nullptr;

    static RadioStateRegistry* instance;
};

class RadioStatePrivate
{
public:
    explicit RadioStatePrivate(RadioStateRegistry* registry)
        : registry(registry)
    {
    }

    RadioStateRegistry* const registry;
};

} // namespace Pavane

#endif

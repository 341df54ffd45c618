#ifndef PAVANE_RADIOSTATE_P_H
#define PAVANE_RADIOSTATE_P_H

#include <Pavane/radiostate.h>

#include <QDBusAbstractInterface>
#include <QMap>
#include <QObject>

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

// Shared by every live RadioState: the last radio states word, the query in
// flight and the table of live objects. Created with the first RadioState,
// destroyed with the last.
class RadioStatePrivate : public QObject
{
    Q_OBJECT

public:
    static RadioStatePrivate* acquire(RadioState* state, RadioState::Radios radios);
    void release(RadioState* state);

    bool decide(const RadioState* state) const;
    // Waits for the query in flight and hands its answer round; returns
    // @p state's answer, taken before anyone is notified.
    bool answerQuery(const RadioState* state);
    void requestChange(const RadioState* state, bool enabled);

    quint32 radioStates = 0;
    QDBusPendingCallWatcher* statusWatcher = nullptr;
    QMap<RadioState*, RadioState::Radios> instances;
    DevModeRequestInterface* requestInterface = nullptr;

public Q_SLOTS:
    void stateSignal(quint32 states);
    void statusCallback(QDBusPendingCallWatcher* watcher);
    void setEnabledCallback(QDBusPendingCallWatcher* watcher);

private:
    RadioStatePrivate();
    ~RadioStatePrivate() override;

    DevModeRequestInterface* interface();
    void startQuery();
    // Stores the query's answer; false (with a warning) on an error reply.
    bool takeAnswer(QDBusPendingCallWatcher* watcher);
    // Emits enabledChanged on every live RadioState.
    void notifyAll();

    static RadioStatePrivate* shared;
};

} // namespace Pavane

#endif

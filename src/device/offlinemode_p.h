#ifndef PAVANE_OFFLINEMODE_P_H
#define PAVANE_OFFLINEMODE_P_H

#include <Pavane/offlinemode.h>
#include <Pavane/radiostate.h>

#include <QList>
#include <QObject>

class MMessageBox;

namespace Pavane {

// Shared by every live OfflineMode: the master radio, the live objects and
// the question dialog of requestExitAsync(). Created with the first
// OfflineMode, destroyed with the last.
class OfflineModePrivate : public QObject
{
    Q_OBJECT

public:
    static OfflineModePrivate* acquire(OfflineMode* mode);
    void release(OfflineMode* mode);

    // Emits status(offline) on every live object, in order of construction.
    void emitStatus(bool offline);
    static MMessageBox* newQuestion();

    RadioState masterRadio{RadioState::Master};
    QList<OfflineMode*> instances;
    MMessageBox* queryDialog = nullptr;

public Q_SLOTS:
    void radioEnabledChanged(bool enabled);
    void queryDialogFinished(int result);

private:
    OfflineModePrivate();
    ~OfflineModePrivate() override;

    static OfflineModePrivate* shared;
    static int liveCount;
};

} // namespace Pavane

#endif

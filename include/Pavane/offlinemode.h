#ifndef PAVANE_OFFLINEMODE_H
#define PAVANE_OFFLINEMODE_H

#include <Pavane/pavanedlg_export.h>

#include <QObject>

#include <memory>

namespace Pavane {

class OfflineModePrivate;

/**
 * Offline (flight) mode: the master radio switched off.
 *
 * Reads and switches it through the device-mode daemon, and asks the user,
 * blocking (requestExit()) or not (requestExitAsync()), whether to leave it
 * when a connection is wanted. All OfflineModes of the process share one
 * master-radio RadioState and one question dialog, and every one of them
 * emits status() when offline mode is reported.
 *
 * Mind the two senses: status() and set() speak of offline mode (true: the
 * phone is offline), currentStatus() of the master radio (true: online).
 *
 * GUI thread only; the question needs a QApplication. The first
 * construction waits for the daemon's answer about the radios.
 */
class PAVANEDLG_EXPORT OfflineMode : public QObject
{
    Q_OBJECT

public:
    explicit OfflineMode(QObject* parent = nullptr);
    ~OfflineMode() override;

    /** Switches offline mode on (true) or off (false); returns at once. */
    void set(bool offline);
    /** True when the master radio is on, that is when offline mode is off. */
    bool currentStatus() const;

public Q_SLOTS:
    /**
     * Asks the user, blocking in a nested event loop, whether to leave offline
     * mode; leaves it on consent. True when the phone is online or the user
     * agreed.
     */
    bool requestExit();
    /** Asks without blocking; the outcome arrives as status(). */
    void requestExitAsync();

Q_SIGNALS:
    /** Offline mode is on (true) or off (false). */
    void status(bool enabled);

private:
    std::unique_ptr<OfflineModePrivate> const d;
};

} // namespace Pavane

#endif

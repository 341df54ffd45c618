#ifndef PAVANE_RADIOSTATE_H
#define PAVANE_RADIOSTATE_H

#include <Pavane/pavanedlg_export.h>

#include <QFlags>
#include <QObject>

#include <memory>

namespace Pavane {

class RadioStatePrivate;

/**
 * Whether a set of radios is on, followed and switched through the
 * device-mode daemon on the system bus.
 *
 * Any number of RadioStates may live at once, each with its own set; they
 * share one process-wide record of the daemon's radio states word. Every
 * indication from the daemon, and the answer to the first query, emits
 * enabledChanged() on every live RadioState, changed or not. setEnabled()
 * only asks the daemon: the new state arrives with its indication.
 *
 * GUI thread only. enabled() blocks while the first query is in flight.
 */
class PAVANEDLG_EXPORT RadioState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)

public:
    enum Radio {
        Master = 0x01,
        Cellular = 0x02,
        WLAN = 0x04,
        Bluetooth = 0x08,
        NFC = 0x10,
        AllRadios = 0x1f,
        NoRadio = 0x00
    };
    Q_ENUM(Radio)
    Q_DECLARE_FLAGS(Radios, Radio)
    Q_FLAG(Radios)

    /** Follows @p radios; bits beyond the five radios are dropped. */
    explicit RadioState(Radios radios, QObject* parent = nullptr);
    ~RadioState() override;

    /** True when every radio of the set is on (always for NoRadio). */
    bool enabled() const;
    /** Asks the daemon to switch the set on or off; returns at once. */
    void setEnabled(bool enabled);

Q_SIGNALS:
    void enabledChanged(bool enabled);

private:
    std::unique_ptr<RadioStatePrivate> const d;
};

} // namespace Pavane

Q_DECLARE_OPERATORS_FOR_FLAGS(Pavane::RadioState::Radios)

#endif

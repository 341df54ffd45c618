// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
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
 * indication from the daemon emits enabledChanged() on every live
 * RadioState, changed or not. A new RadioState asks the daemon, unless a
 * question is out already; the answer emits enabledChanged() on every live
 * RadioState when it changes the word, else only on those that have not
 * heard the word yet. setEnabled() only asks the daemon: the new state
 * arrives with its indication.
 *
 * Until the daemon has answered, and when it cannot be reached, the radios
 * count as off; a failed query or switch is logged (category
 * @c pavane.device), not reported. The daemon is reached through QtDBus's
 * system-bus connection.
 *
 * GUI thread only. enabled() blocks while the first query is in flight.
 */
class PAVANEDLG_EXPORT RadioState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)

public:
    /** The radios of the device-mode daemon's radio states word, one bit each. */
    enum Radio {
        Master = 0x01,     ///< The master switch: off is offline (flight) mode.
        Cellular = 0x02,   ///< The cellular modem.
        WLAN = 0x04,       ///< Wireless LAN.
        Bluetooth = 0x08,  ///< Bluetooth.
        NFC = 0x10,        ///< Near-field communication.
        AllRadios = 0x1f,  ///< All five radios.
        NoRadio = 0x00     ///< No radio: a set that is always enabled.
    };
    Q_ENUM(Radio)
    /** A set of radios, combined with @c |. */
    Q_DECLARE_FLAGS(Radios, Radio)
    Q_FLAG(Radios)

    /** Follows @p radios; bits beyond the five radios are dropped. */
    explicit RadioState(Radios radios, QObject* parent = nullptr);
    /** The last RadioState of the process also drops the shared record. */
    ~RadioState() override;

    /** True when every radio of the set is on (always for NoRadio). */
    bool enabled() const;
    /**
     * Asks the daemon to switch every radio of the set on (@p enabled true)
     * or off, the others left as they are; returns at once. The new state
     * arrives, if at all, as enabledChanged() on the daemon's indication.
     */
    void setEnabled(bool enabled);

Q_SIGNALS:
    /**
     * The daemon reported its radio states (an indication, or the answer to
     * a query, as described above): @p enabled is what enabled() now says.
     * Emitted from the event loop or from a blocking enabled(); a receiver
     * may delete any RadioState, this one too, and may create new ones.
     */
    void enabledChanged(bool enabled);

private:
    std::unique_ptr<RadioStatePrivate> const d;
};

} // namespace Pavane

Q_DECLARE_OPERATORS_FOR_FLAGS(Pavane::RadioState::Radios)

#endif

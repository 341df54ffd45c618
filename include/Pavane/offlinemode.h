// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
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
 * GUI thread only; the question needs a QApplication (without one, the
 * user is not asked and offline mode stays on). The first construction
 * waits for the daemon's answer about the radios. The question's text comes
 * from the translation catalogue "offline", which is added to the default
 * locale beside the host's own. Screen readers read the question as a modal
 * alert named by its text.
 */
class PAVANEDLG_EXPORT OfflineMode : public QObject
{
    Q_OBJECT

public:
    /** Joins the shared state; the first one queries the daemon and waits. */
    explicit OfflineMode(QObject* parent = nullptr);
    /** The last OfflineMode of the process also closes a question still shown. */
    ~OfflineMode() override;

    /**
     * Switches offline mode on (@p offline true) or off; returns at once.
     * status() follows the daemon's indication.
     */
    void set(bool offline);
    /** True when the master radio is on, that is when offline mode is off. */
    bool currentStatus() const;

public Q_SLOTS:
    /**
     * Asks the user, blocking in a nested event loop, whether to leave offline
     * mode; leaves it on consent. True when the phone is online (without
     * asking) or the user agreed; false when the user declined or there is
     * no QApplication. The object may be destroyed during the question; the
     * consent is acted on all the same.
     */
    bool requestExit();
    /**
     * Asks without blocking; the outcome arrives as status(): false once the
     * radio is on after consent, true when the user declined (or there is no
     * QApplication to ask with). Does nothing when the phone is online
     * already. The question is shared: asking again while it is shown does
     * not show a second one.
     */
    void requestExitAsync();

Q_SIGNALS:
    /**
     * Offline mode is on (@p enabled true) or off, as the daemon reported it,
     * or the user declined to leave it (true). Emitted on every live
     * OfflineMode, for every indication of the daemon, changed or not, and
     * for the daemon's answer to a state query when that changes the
     * state; while the question is shown, only the radio coming on is
     * reported. A receiver may delete any OfflineMode, this one too, and may
     * create OfflineModes and RadioStates.
     */
    void status(bool enabled);

private:
    std::unique_ptr<OfflineModePrivate> const d;
};

} // namespace Pavane

#endif

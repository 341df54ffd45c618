// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_OFFLINEMODE_P_H
#define PAVANE_OFFLINEMODE_P_H

#include <Pavane/offlinemode.h>
#include <Pavane/radiostate.h>

#include <MMessageBox>

#include <QList>
#include <QObject>
#include <QPointer>

namespace Pavane {

// What every live OfflineMode shares: the master radio, the live objects in
// order of construction, and the question dialog of requestExitAsync().
// Created with the first OfflineMode, destroyed with the last.
class OfflineModeShared : public QObject
{
    Q_OBJECT

public:
    static OfflineModeShared* enrol(OfflineMode* mode);
    // Destroys the shared state when @p mode was the last one enrolled.
    void withdraw(OfflineMode* mode);

    // Emits status(offline) on every live object, in order of construction.
    void emitStatus(bool offline);
    static MMessageBox* newQuestion();
    // The question of requestExitAsync(), made on first use and kept.
    MMessageBox* question();

    RadioState masterRadio{RadioState::Master};

private:
    OfflineModeShared();
    ~OfflineModeShared() override;

    void radioEnabledChanged(bool enabled);
    void queryDialogFinished(int result);

    QList<OfflineMode*> instances;
    // Guarded: whoever is told of it on screen (a screen reader's event
    // handler too) may delete it; the next question then makes a new one.
    QPointer<MMessageBox> queryDialog;

    static OfflineModeShared* instance;
    static int liveCount;
};

class OfflineModePrivate
{
public:
    explicit OfflineModePrivate(OfflineModeShared* shared)
        : shared(shared)
    {
    }

    OfflineModeShared* const shared;
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_RFKILLRADIOMODEL_H
#define DEVMODED_RFKILLRADIOMODEL_H

#include "rfkilleventreader.h"

#include <QList>
#include <QMap>
#include <QSet>

// The radio states word over the kernel's radio kill switches: what the
// kernel reports makes the word, and requests become change events for it.
//
// Cellular, WLAN, Bluetooth and NFC are the kernel's radio types of those
// names. A type is on when at least one of its radios is neither soft- nor
// hard-blocked; a type without radios keeps the value last asked for. The
// master switch is the daemon's own: off blocks every radio of every type,
// on restores each type's own value. Others may act too: a batch of events
// that blocks the last unblocked radio (an airplane-mode key, "block all")
// turns the master switch off, and one that unblocks a radio while it is
// off turns it on again; events that answer the daemon's own requests
// decide nothing about it.
//
// Nothing here touches the device: every function returns the change
// events to write.
class RfkillRadioModel
{
public:
    // From the radios the device listed when it was opened and the word kept
    // from the last run: the kernel knows the radios' own values while
    // online; the word knows the master switch, and the radios' values when
    // everything was blocked. A daemon that finds every radio blocked starts
    // offline.
    QList<RfkillEvent> start(const QList<RfkillEvent>& listed, unsigned storedWord);
    // Events read from the device, in order.
    QList<RfkillEvent> apply(const QList<RfkillEvent>& events);
    // A "req_radio_states_change".
    QList<RfkillEvent> request(unsigned states, unsigned mask);
    // The device went away: every radio keeps the value it had, as if it
    // had been asked for.
    void forgetRadios();

    // What the daemon answers and announces.
    unsigned word() const;
    // What the daemon keeps across restarts: the master switch and the
    // values asked for.
    unsigned wish() const;

private:
    struct Radio
    {
        quint8 type = 0;
        bool softBlocked = false;
        bool hardBlocked = false;
    };

    void record(const RfkillEvent& event);
    bool anyUnblocked(const QSet<quint32>& except = {}) const;
    bool typeOn(quint8 type, bool softOnly) const;
    bool hasType(quint8 type) const;
    void followKernel();
    RfkillEvent changeAll(quint8 type, bool block);
    QList<RfkillEvent> blockAddedWhileOffline(const QSet<quint32>& added);

    QMap<quint32, Radio> radios;
    bool master = true;
    unsigned requested = 0x1e;
    // Change events the kernel owes for the daemon's own writes; batches
    // that carry them are not others' doing.
    int pendingEchoes = 0;
};

#endif

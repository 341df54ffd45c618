// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "rfkillradiomodel.h"

#include "devmodeinterface.h"

#include <linux/rfkill.h>

namespace {

struct RadioType
{
    unsigned bit;
    quint8 type;
};

constexpr RadioType RadioTypes[] = {
    {0x02, RFKILL_TYPE_WWAN},
    {0x04, RFKILL_TYPE_WLAN},
    {0x08, RFKILL_TYPE_BLUETOOTH},
    {0x10, RFKILL_TYPE_NFC},
};

constexpr unsigned RadioBits = DevMode::AllRadios & ~DevMode::MasterRadio;

// A device names each radio once; more than this is not a machine's radios
// but a stream gone wrong, and is not worth the memory.
constexpr int MostRadios = 1024;

unsigned bitOfType(quint8 type)
{
    for (const RadioType& radio : RadioTypes) {
        if (radio.type == type)
            return radio.bit;
    }
    return 0;
}

} // namespace

void RfkillRadioModel::record(const RfkillEvent& event)
{
    switch (event.operation) {
    case RFKILL_OP_ADD:
    case RFKILL_OP_CHANGE:
        // A change of a radio never announced stands for its announcement.
        if (event.type == RFKILL_TYPE_ALL || (!radios.contains(event.index) && radios.size() >= MostRadios))
            return;
        radios.insert(event.index, Radio{event.type, event.softBlocked, event.hardBlocked});
        return;
    case RFKILL_OP_DEL:
        radios.remove(event.index);
        return;
    default:
        // Only requests carry other operations; the kernel sends none.
        return;
    }
}

bool RfkillRadioModel::anyUnblocked(const QSet<quint32>& except) const
{
    for (auto radio = radios.cbegin(); radio != radios.cend(); ++radio) {
        if (!radio->softBlocked && !radio->hardBlocked && !except.contains(radio.key()))
            return true;
    }
    return false;
}

bool RfkillRadioModel::typeOn(quint8 type, bool softOnly) const
{
    for (const Radio& radio : radios) {
        if (radio.type == type && !radio.softBlocked && (softOnly || !radio.hardBlocked))
            return true;
    }
    return false;
}

bool RfkillRadioModel::hasType(quint8 type) const
{
    for (const Radio& radio : radios) {
        if (radio.type == type)
            return true;
    }
    return false;
}

void RfkillRadioModel::followKernel()
{
    // Online, the kernel holds the values asked for, whoever asked: the soft
    // block, since a hard block lifted leaves the radio as it was asked.
    for (const RadioType& radio : RadioTypes) {
        if (hasType(radio.type))
            requested = typeOn(radio.type, true) ? requested | radio.bit : requested & ~radio.bit;
    }
}

RfkillEvent RfkillRadioModel::changeAll(quint8 type, bool block)
{
    for (const Radio& radio : radios) {
        if ((type == RFKILL_TYPE_ALL || radio.type == type) && radio.softBlocked != block)
            ++pendingEchoes;
    }
    RfkillEvent event;
    event.type = type;
    event.operation = RFKILL_OP_CHANGE_ALL;
    event.softBlocked = block;
    return event;
}

QList<RfkillEvent> RfkillRadioModel::blockAddedWhileOffline(const QSet<quint32>& added)
{
    QList<RfkillEvent> writes;
    QSet<quint8> types;
    for (const quint32 index : added) {
        const auto radio = radios.constFind(index);
        if (radio != radios.cend() && !radio->softBlocked && !types.contains(radio->type)) {
            types.insert(radio->type);
            writes.append(changeAll(radio->type, true));
        }
    }
    return writes;
}

QList<RfkillEvent> RfkillRadioModel::start(const QList<RfkillEvent>& listed, unsigned storedWord)
{
    for (const RfkillEvent& event : listed)
        record(event);
    master = storedWord & DevMode::MasterRadio;
    requested = storedWord & RadioBits;
    if (!radios.isEmpty() && !anyUnblocked())
        master = false;
    if (master) {
        followKernel();
        return {};
    }
    // Offline mode outlives a restart, and a reboot that unblocked all.
    for (const Radio& radio : radios) {
        if (!radio.softBlocked)
            return {changeAll(RFKILL_TYPE_ALL, true)};
    }
    return {};
}

QList<RfkillEvent> RfkillRadioModel::apply(const QList<RfkillEvent>& events)
{
    const bool answersOwnWrites = pendingEchoes > 0;
    const bool unblockedBefore = anyUnblocked();
    QSet<quint32> added;
    for (const RfkillEvent& event : events) {
        if (event.operation == RFKILL_OP_CHANGE && pendingEchoes > 0)
            --pendingEchoes;
        if (event.operation == RFKILL_OP_DEL)
            added.remove(event.index);
        else if (!radios.contains(event.index))
            added.insert(event.index);
        record(event);
    }
    if (!answersOwnWrites) {
        if (master && unblockedBefore && !radios.isEmpty() && !anyUnblocked())
            master = false;
        else if (!master && !unblockedBefore && anyUnblocked(added))
            master = true;
    }
    if (!master)
        return blockAddedWhileOffline(added);
    followKernel();
    return {};
}

QList<RfkillEvent> RfkillRadioModel::request(unsigned states, unsigned mask)
{
    requested = (requested & ~(mask & RadioBits)) | (states & mask & RadioBits);
    const bool wasOnline = master;
    if (mask & DevMode::MasterRadio)
        master = states & DevMode::MasterRadio;

    QList<RfkillEvent> writes;
    if (!master) {
        if (wasOnline)
            writes.append(changeAll(RFKILL_TYPE_ALL, true));
    } else if (!wasOnline) {
        // Every kind of radio offline mode blocked, also those the word does
        // not name (GPS, FM...), which it blocked with the rest.
        for (quint8 type = RFKILL_TYPE_ALL + 1; type < NUM_RFKILL_TYPES; ++type) {
            const unsigned bit = bitOfType(type);
            writes.append(changeAll(type, bit != 0 && !(requested & bit)));
        }
    } else {
        // Also for a type without radios: the kernel gives the value to the
        // radios of that type that come later.
        for (const RadioType& radio : RadioTypes) {
            if (mask & radio.bit)
                writes.append(changeAll(radio.type, !(requested & radio.bit)));
        }
    }
    return writes;
}

void RfkillRadioModel::forgetRadios()
{
    const unsigned last = word();
    requested = last & RadioBits;
    radios.clear();
    pendingEchoes = 0;
}

unsigned RfkillRadioModel::word() const
{
    unsigned word = master ? DevMode::MasterRadio : 0;
    for (const RadioType& radio : RadioTypes) {
        if (hasType(radio.type) ? typeOn(radio.type, false) : (requested & radio.bit))
            word |= radio.bit;
    }
    return word;
}

unsigned RfkillRadioModel::wish() const
{
    return (master ? DevMode::MasterRadio : 0) | requested;
}

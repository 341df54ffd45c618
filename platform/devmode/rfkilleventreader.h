// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_RFKILLEVENTREADER_H
#define DEVMODED_RFKILLEVENTREADER_H

#include <QByteArray>
#include <QList>

// One record of the kernel's radio kill switch device: a radio (index and
// type) appeared, went, or changed its soft (software) and hard (switch or
// firmware) block; or, written to the device, a request to change them.
struct RfkillEvent
{
    quint32 index = 0;
    quint8 type = 0;
    quint8 operation = 0;
    bool softBlocked = false;
    bool hardBlocked = false;

    bool operator==(const RfkillEvent& other) const
    {
        return index == other.index && type == other.type && operation == other.operation
            && softBlocked == other.softBlocked && hardBlocked == other.hardBlocked;
    }
};

// Frames the device's byte stream into events. Every record begins with the
// same eight bytes in the machine's own byte order; newer kernels append
// more (the reasons for a hard block) when asked to, and a record is then as
// long as agreed with the device. Reads need not follow records: a part of
// one waits for the rest.
class RfkillEventReader
{
public:
    static constexpr int ShortestRecord = 8;
    // A size the kernel takes at most; anything longer is not an agreement.
    static constexpr int LongestRecord = 255;

    // @p recordSize within ShortestRecord..LongestRecord.
    explicit RfkillEventReader(int recordSize = ShortestRecord);

    int recordSize() const { return size; }
    // The events completed by @p bytes, in order.
    QList<RfkillEvent> feed(const QByteArray& bytes);
    // Bytes of a record begun but not finished.
    int pendingBytes() const { return pending.size(); }

    // The eight bytes of a request to the device.
    static QByteArray encode(const RfkillEvent& event);

private:
    int size;
    QByteArray pending;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "rfkilleventreader.h"

#include <QtGlobal>

#include <cstring>

RfkillEventReader::RfkillEventReader(int recordSize)
    : size(qBound(ShortestRecord, recordSize, LongestRecord))
{
}

QList<RfkillEvent> RfkillEventReader::feed(const QByteArray& bytes)
{
    pending += bytes;
    QList<RfkillEvent> events;
    int offset = 0;
    for (; pending.size() - offset >= size; offset += size) {
        const char* record = pending.constData() + offset;
        RfkillEvent event;
        std::memcpy(&event.index, record, sizeof event.index);
        event.type = quint8(record[4]);
        event.operation = quint8(record[5]);
        event.softBlocked = record[6] != 0;
        event.hardBlocked = record[7] != 0;
        events.append(event);
    }
    pending.remove(0, offset);
    return events;
}

QByteArray RfkillEventReader::encode(const RfkillEvent& event)
{
    QByteArray record(ShortestRecord, '\0');
    std::memcpy(record.data(), &event.index, sizeof event.index);
    record[4] = char(event.type);
    record[5] = char(event.operation);
    record[6] = char(event.softBlocked ? 1 : 0);
    record[7] = char(event.hardBlocked ? 1 : 0);
    return record;
}

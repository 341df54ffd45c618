// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary bytes as devmoded reads them from the radio kill switch device,
// cut into reads anywhere (input: record size, read length, stream): the same
// events however the reads fall, and radio states within the five radios.
#include "devmode/rfkilleventreader.h"
#include "devmode/rfkillradiomodel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int recordSize = RfkillEventReader::ShortestRecord + data[0] % 24;
    const int cut = 1 + data[1] % 17;
    // A copy of exactly the input's bytes, so that a read past them is seen.
    const QByteArray stream(reinterpret_cast<const char*>(data) + 2, int(size - 2));

    RfkillEventReader whole(recordSize);
    const QList<RfkillEvent> expected = whole.feed(stream);
    if (expected.size() != stream.size() / recordSize || whole.pendingBytes() != stream.size() % recordSize)
        std::abort();

    RfkillEventReader reader(recordSize);
    RfkillRadioModel model;
    model.start({}, 0x1f);
    QList<RfkillEvent> events;
    for (int offset = 0; offset < stream.size(); offset += cut) {
        const QList<RfkillEvent> read = reader.feed(stream.mid(offset, cut));
        events += read;
        model.apply(read);
        if (reader.pendingBytes() >= recordSize)
            std::abort();
        // A request between reads, as a client's call would come.
        const uchar control = uchar(stream.at(offset));
        if (control & 0x80)
            model.request(control, control >> 2);
        if (model.word() > 0x1f || model.wish() > 0x1f)
            std::abort();
    }
    if (events != expected)
        std::abort();
    return 0;
}

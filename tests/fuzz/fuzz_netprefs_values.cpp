// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary rows of the settings table, as another program may leave them:
// decoding a row, its value record and, for a list, its elements must never
// crash or read past the data, and every list that decodes must encode back
// to the very same blob.
#include "netprefs/storedvalue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using netprefs::StoredValue;

namespace {

// Input: kind (8 bytes), column type (1), integer (8), real (8), then the
// bytes of the value column.
constexpr size_t HeaderSize = 25;

template<typename T>
T take(const uint8_t* data, size_t size, size_t offset)
{
    T value{};
    if (offset + sizeof value <= size)
        std::memcpy(&value, data + offset, sizeof value);
    return value;
}

void checkRecord(const StoredValue& value, const net_prefs_value* record)
{
    if (!record)
        return;
    if (record->type != value.kind)
        std::abort();
    if (value.kind == NET_PREFS_VALUE_STRING
        && std::strncmp(record->value.string_value, value.bytes.c_str(), value.bytes.size() + 1) != 0)
        std::abort();
    if (value.kind == NET_PREFS_VALUE_BYTE_ARRAY
        && (size_t(record->value.byte_array.length) != value.bytes.size()
            || std::memcmp(record->value.byte_array.data, value.bytes.data(), value.bytes.size()) != 0))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const StoredValue value = netprefs::decodeRow(
        take<int64_t>(data, size, 0), 1 + take<uint8_t>(data, size, 8) % 5, take<int64_t>(data, size, 9),
        take<double>(data, size, 17),
        size > HeaderSize ? std::string(reinterpret_cast<const char*>(data) + HeaderSize, size - HeaderSize)
                          : std::string());
    net_prefs_value* record = netprefs::toValueRecord(value);
    checkRecord(value, record);
    netprefs::destroyValueRecord(record);

    // The value column as a list, whatever the row's kind says.
    const std::string blob = size > HeaderSize
        ? std::string(reinterpret_cast<const char*>(data) + HeaderSize, size - HeaderSize) : std::string();
    std::vector<StoredValue> elements;
    if (!netprefs::decodeList(blob, &elements))
        return 0;
    std::string encoded;
    for (const StoredValue& element : elements) {
        if (!netprefs::encodeElement(element, &encoded))
            std::abort();
    }
    if (encoded != blob)
        std::abort();
    net_prefs_value** records = netprefs::toValueRecords(elements);
    for (size_t i = 0; records && i < elements.size(); ++i)
        checkRecord(elements[i], records[i]);
    if (records && records[elements.size()])
        std::abort();
    netprefs::destroyValueRecords(records);
    return 0;
}

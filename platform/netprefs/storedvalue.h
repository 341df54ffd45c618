// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef NETPREFS_STOREDVALUE_H
#define NETPREFS_STOREDVALUE_H

#include "netprefs.h"

#include <string>
#include <vector>

namespace netprefs {

// One value as the database keeps it: its kind (a net_prefs_value_type) and
// the payload of that kind. Strings, byte arrays and encoded lists live in
// `bytes`, integers and booleans in `integer`.
struct StoredValue
{
    int kind = NET_PREFS_VALUE_NONE;
    long long integer = 0;
    double real = 0;
    std::string bytes;

    bool isNone() const { return kind == NET_PREFS_VALUE_NONE; }
};

// The largest string, byte array or encoded list the store keeps.
constexpr size_t MaxValueBytes = 16 * 1024 * 1024;

// The value of a row of the settings table from its kind column and its
// value column (an SQLite column type with the column read as each type), as
// this store writes them or another program may have left them: a value
// whose column does not suit its kind, or an int beyond 32 bits, reads as
// none; a kind this store does not know is kept, without payload.
StoredValue decodeRow(long long kind, int columnType, long long integer, double real, std::string bytes);

// A value record for the C interface, allocated with malloc; NULL for none,
// and when memory runs out.
net_prefs_value* toValueRecord(const StoredValue& value);
void destroyValueRecord(net_prefs_value* record);
// The NULL-terminated array of records of net_prefs_get_list; NULL when
// memory runs out.
net_prefs_value** toValueRecords(const std::vector<StoredValue>& elements);
void destroyValueRecords(net_prefs_value** records);

// Lists are stored as one blob: per element one byte with its kind, then
//   string: 4-byte little-endian length and the bytes
//   int, bool: 4-byte little-endian two's complement
//   double: 8-byte IEEE 754, little-endian
// Returns false for an element kind other than these four, a bad count, or a
// list longer than MaxValueBytes.
bool encodeList(const void* elements, int count, int elementKind, std::string* blob);
// Appends one element; false for a kind other than those four.
bool encodeElement(const StoredValue& element, std::string* blob);
// False when the blob is damaged. Every blob that decodes encodes back to
// itself, element by element.
bool decodeList(const std::string& blob, std::vector<StoredValue>* elements);

} // namespace netprefs

#endif

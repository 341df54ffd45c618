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

// A value record for the C interface, allocated with malloc; NULL for none.
net_prefs_value* toValueRecord(const StoredValue& value);
void destroyValueRecord(net_prefs_value* record);

// Lists are stored as one blob: per element one byte with its kind, then
//   string: 4-byte little-endian length and the bytes
//   int, bool: 4-byte little-endian two's complement
//   double: 8-byte IEEE 754, little-endian
// Returns false for an element kind other than these four, or a bad count.
bool encodeList(const void* elements, int count, int elementKind, std::string* blob);
// False when the blob is damaged.
bool decodeList(const std::string& blob, std::vector<StoredValue>* elements);

} // namespace netprefs

#endif

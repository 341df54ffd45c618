// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "storedvalue.h"

#include <cstdint>
#include <cstdlib>
#include <climits>
#include <cstring>

#include <sqlite3.h>

namespace netprefs {

namespace {

char* copyString(const std::string& s)
{
    char* copy = static_cast<char*>(std::malloc(s.size() + 1));
    if (copy) {
        std::memcpy(copy, s.data(), s.size());
        copy[s.size()] = '\0';
    }
    return copy;
}

void putUint32(std::string* out, uint32_t v)
{
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out->append(bytes, 4);
}

bool getUint32(const std::string& in, size_t* pos, uint32_t* v)
{
    if (in.size() - *pos < 4)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(in.data() + *pos);
    *v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    *pos += 4;
    return true;
}

} // namespace

StoredValue decodeRow(long long kind, int columnType, long long integer, double real, std::string bytes)
{
    StoredValue value;
    value.kind = kind >= 0 && kind <= INT_MAX ? int(kind) : -1;
    const bool number = columnType == SQLITE_INTEGER;
    const bool text = columnType == SQLITE_TEXT || columnType == SQLITE_BLOB || columnType == SQLITE_NULL;
    switch (value.kind) {
    case NET_PREFS_VALUE_INT:
        if (!number || integer < INT_MIN || integer > INT_MAX)
            return StoredValue();
        value.integer = integer;
        break;
    case NET_PREFS_VALUE_BOOL:
        if (!number)
            return StoredValue();
        value.integer = integer != 0;
        break;
    case NET_PREFS_VALUE_DOUBLE:
        if (!number && columnType != SQLITE_FLOAT)
            return StoredValue();
        value.real = number ? double(integer) : real;
        break;
    case NET_PREFS_VALUE_STRING:
    case NET_PREFS_VALUE_BYTE_ARRAY:
    case NET_PREFS_VALUE_LIST:
        if (!text || bytes.size() > MaxValueBytes)
            return StoredValue();
        value.bytes = std::move(bytes);
        break;
    default: // none, or a kind of a later version: no payload
        break;
    }
    return value;
}

net_prefs_value* toValueRecord(const StoredValue& value)
{
    if (value.isNone())
        return nullptr;
    auto* record = static_cast<net_prefs_value*>(std::calloc(1, sizeof(net_prefs_value)));
    if (!record)
        return nullptr;
    record->type = value.kind;
    switch (value.kind) {
    case NET_PREFS_VALUE_STRING:
        record->value.string_value = copyString(value.bytes);
        if (!record->value.string_value) {
            std::free(record);
            return nullptr;
        }
        break;
    case NET_PREFS_VALUE_INT:
        record->value.int_value = int(value.integer);
        break;
    case NET_PREFS_VALUE_BOOL:
        record->value.bool_value = value.integer != 0;
        break;
    case NET_PREFS_VALUE_DOUBLE:
        record->value.double_value = value.real;
        break;
    case NET_PREFS_VALUE_BYTE_ARRAY:
        record->value.byte_array.length = int(value.bytes.size());
        record->value.byte_array.data = static_cast<unsigned char*>(std::malloc(value.bytes.size() + 1));
        if (!record->value.byte_array.data) {
            std::free(record);
            return nullptr;
        }
        std::memcpy(record->value.byte_array.data, value.bytes.data(), value.bytes.size());
        break;
    default: // a list: the elements come from net_prefs_get_list
        break;
    }
    return record;
}

void destroyValueRecord(net_prefs_value* record)
{
    if (!record)
        return;
    if (record->type == NET_PREFS_VALUE_STRING)
        std::free(record->value.string_value);
    else if (record->type == NET_PREFS_VALUE_BYTE_ARRAY)
        std::free(record->value.byte_array.data);
    std::free(record);
}

void destroyValueRecords(net_prefs_value** records)
{
    if (!records)
        return;
    for (net_prefs_value** record = records; *record; ++record)
        destroyValueRecord(*record);
    std::free(records);
}

net_prefs_value** toValueRecords(const std::vector<StoredValue>& elements)
{
    auto** records = static_cast<net_prefs_value**>(std::calloc(elements.size() + 1, sizeof(net_prefs_value*)));
    for (size_t i = 0; records && i < elements.size(); ++i) {
        // A missing record would end the array early.
        records[i] = toValueRecord(elements[i]);
        if (!records[i]) {
            destroyValueRecords(records);
            return nullptr;
        }
    }
    return records;
}

bool encodeElement(const StoredValue& element, std::string* blob)
{
    blob->push_back(char(element.kind));
    switch (element.kind) {
    case NET_PREFS_VALUE_STRING:
        putUint32(blob, uint32_t(element.bytes.size()));
        blob->append(element.bytes);
        return true;
    case NET_PREFS_VALUE_INT:
    case NET_PREFS_VALUE_BOOL:
        putUint32(blob, uint32_t(element.integer));
        return true;
    case NET_PREFS_VALUE_DOUBLE: {
        uint64_t bits;
        std::memcpy(&bits, &element.real, 8);
        putUint32(blob, uint32_t(bits));
        putUint32(blob, uint32_t(bits >> 32));
        return true;
    }
    default:
        blob->pop_back();
        return false;
    }
}

bool encodeList(const void* elements, int count, int elementKind, std::string* blob)
{
    if (count < 0 || (count > 0 && !elements))
        return false;
    blob->clear();
    for (int i = 0; i < count; ++i) {
        StoredValue element;
        element.kind = elementKind;
        switch (elementKind) {
        case NET_PREFS_VALUE_STRING: {
            const char* s = static_cast<const char* const*>(elements)[i];
            if (!s)
                return false;
            const size_t length = std::strlen(s);
            if (length > MaxValueBytes - blob->size())
                return false;
            element.bytes.assign(s, length);
            break;
        }
        case NET_PREFS_VALUE_INT:
        case NET_PREFS_VALUE_BOOL:
            element.integer = static_cast<const int*>(elements)[i];
            break;
        case NET_PREFS_VALUE_DOUBLE:
            element.real = static_cast<const double*>(elements)[i];
            break;
        }
        if (!encodeElement(element, blob) || blob->size() > MaxValueBytes)
            return false;
    }
    return true;
}

bool decodeList(const std::string& blob, std::vector<StoredValue>* elements)
{
    elements->clear();
    size_t pos = 0;
    while (pos < blob.size()) {
        StoredValue element;
        element.kind = static_cast<unsigned char>(blob[pos++]);
        uint32_t word = 0;
        switch (element.kind) {
        case NET_PREFS_VALUE_STRING:
            if (!getUint32(blob, &pos, &word) || blob.size() - pos < word)
                return false;
            element.bytes.assign(blob, pos, word);
            pos += word;
            break;
        case NET_PREFS_VALUE_INT:
        case NET_PREFS_VALUE_BOOL:
            if (!getUint32(blob, &pos, &word))
                return false;
            element.integer = int32_t(word);
            break;
        case NET_PREFS_VALUE_DOUBLE: {
            uint32_t high = 0;
            if (!getUint32(blob, &pos, &word) || !getUint32(blob, &pos, &high))
                return false;
            const uint64_t bits = uint64_t(high) << 32 | word;
            std::memcpy(&element.real, &bits, 8);
            break;
        }
        default:
            return false;
        }
        elements->push_back(std::move(element));
    }
    return true;
}

} // namespace netprefs

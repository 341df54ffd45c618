// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The C interface of the store: argument checks, and the conversion between
// value records and stored values.
#include "netprefs.h"

#include "store.h"
#include "storedvalue.h"

#include <cstdlib>
#include <cstring>
#include <new>

using netprefs::Store;
using netprefs::StoredValue;

struct net_prefs_handle
{
    Store* store;
    int type;
    std::string id;
};

namespace {

bool knownType(int type)
{
    return type == NET_PREFS_TYPE_IAP || type == NET_PREFS_TYPE_BEARER
        || type == NET_PREFS_TYPE_GENERAL;
}

int write(net_prefs_handle* handle, const char* key, const StoredValue& value)
{
    if (!handle || !key)
        return NET_PREFS_ERROR_INVALID;
    return handle->store->write(handle->type, handle->id, key, value);
}

StoredValue integerValue(int kind, long long integer)
{
    StoredValue value;
    value.kind = kind;
    value.integer = integer;
    return value;
}

// The caller has checked that size is at most MaxValueBytes.
StoredValue bytesValue(int kind, const void* data, size_t size)
{
    StoredValue value;
    value.kind = kind;
    if (size > 0)
        value.bytes.assign(static_cast<const char*>(data), size);
    return value;
}

char** toStringArray(const std::vector<std::string>& strings)
{
    auto** array = static_cast<char**>(std::calloc(strings.size() + 1, sizeof(char*)));
    if (!array)
        return nullptr;
    for (size_t i = 0; i < strings.size(); ++i) {
        array[i] = static_cast<char*>(std::malloc(strings[i].size() + 1));
        if (!array[i]) {
            for (size_t j = 0; j < i; ++j)
                std::free(array[j]);
            std::free(array);
            return nullptr;
        }
        std::memcpy(array[i], strings[i].c_str(), strings[i].size() + 1);
    }
    return array;
}

// The functions without a handle use the store for the time of the call.
template<typename Function>
auto withStore(Function function, decltype(function(nullptr)) failure)
{
    Store* store = Store::acquire();
    if (!store)
        return failure;
    const auto result = function(store);
    store->unref();
    return result;
}

} // namespace

extern "C" {

net_prefs_handle* net_prefs_open(int type, const char* id)
{
    if (!knownType(type))
        return nullptr;
    Store* store = Store::acquire();
    if (!store)
        return nullptr;
    auto* handle = new (std::nothrow) net_prefs_handle{store, type, id ? id : ""};
    if (!handle)
        store->unref();
    return handle;
}

void net_prefs_close(net_prefs_handle* handle)
{
    if (!handle)
        return;
    handle->store->delNotify(handle);
    handle->store->unref();
    delete handle;
}

int net_prefs_add_notify(net_prefs_handle* handle, net_prefs_notify_func func, void* user_data)
{
    if (!handle || !func)
        return 0;
    return handle->store->addNotify(handle, handle->type, handle->id, func, user_data) ? 1 : 0;
}

void net_prefs_del_notify(net_prefs_handle* handle)
{
    if (handle)
        handle->store->delNotify(handle);
}

net_prefs_value* net_prefs_get(net_prefs_handle* handle, const char* key)
{
    if (!handle || !key)
        return nullptr;
    const StoredValue* value = handle->store->get(handle->type, handle->id, key);
    return value ? netprefs::toValueRecord(*value) : nullptr;
}

void net_prefs_value_destroy(net_prefs_value* value)
{
    netprefs::destroyValueRecord(value);
}

int net_prefs_get_list(net_prefs_handle* handle, const char* key, net_prefs_value*** values)
{
    if (!values)
        return NET_PREFS_ERROR_INVALID;
    *values = nullptr;
    if (!handle || !key)
        return NET_PREFS_ERROR_INVALID;
    const StoredValue* value = handle->store->get(handle->type, handle->id, key);
    if (!value)
        return NET_PREFS_ERROR_STORE;
    if (value->isNone())
        return NET_PREFS_ERROR_NO_VALUE;
    if (value->kind != NET_PREFS_VALUE_LIST)
        return NET_PREFS_ERROR_NOT_LIST;
    std::vector<StoredValue> elements;
    if (!netprefs::decodeList(value->bytes, &elements))
        return NET_PREFS_ERROR_STORE;
    *values = netprefs::toValueRecords(elements);
    return *values ? NET_PREFS_OK : NET_PREFS_ERROR_STORE;
}

void net_prefs_values_destroy(net_prefs_value** values)
{
    netprefs::destroyValueRecords(values);
}

int net_prefs_set_bool(net_prefs_handle* handle, const char* key, int value)
{
    return write(handle, key, integerValue(NET_PREFS_VALUE_BOOL, value != 0));
}

int net_prefs_set_int(net_prefs_handle* handle, const char* key, int value)
{
    return write(handle, key, integerValue(NET_PREFS_VALUE_INT, value));
}

int net_prefs_set_double(net_prefs_handle* handle, const char* key, double value)
{
    StoredValue stored;
    stored.kind = NET_PREFS_VALUE_DOUBLE;
    stored.real = value;
    return write(handle, key, stored);
}

int net_prefs_set_string(net_prefs_handle* handle, const char* key, const char* value)
{
    if (!value)
        return NET_PREFS_ERROR_INVALID;
    const size_t length = std::strlen(value);
    if (length > netprefs::MaxValueBytes)
        return NET_PREFS_ERROR_INVALID;
    return write(handle, key, bytesValue(NET_PREFS_VALUE_STRING, value, length));
}

int net_prefs_set_byte_array(net_prefs_handle* handle, const char* key, const void* data, int length)
{
    if (length < 0 || (length > 0 && !data) || size_t(length) > netprefs::MaxValueBytes)
        return NET_PREFS_ERROR_INVALID;
    return write(handle, key, bytesValue(NET_PREFS_VALUE_BYTE_ARRAY, data, size_t(length)));
}

int net_prefs_set_list(net_prefs_handle* handle, const char* key, const void* elements, int count,
                       int element_type)
{
    StoredValue value;
    value.kind = NET_PREFS_VALUE_LIST;
    if (!netprefs::encodeList(elements, count, element_type, &value.bytes))
        return NET_PREFS_ERROR_INVALID;
    return write(handle, key, value);
}

int net_prefs_unset(net_prefs_handle* handle, const char* key)
{
    return write(handle, key, StoredValue());
}

int net_prefs_remove(net_prefs_handle* handle)
{
    if (!handle)
        return NET_PREFS_ERROR_INVALID;
    return handle->store->removeRecord(handle->type, handle->id);
}

int net_prefs_id_exists(int type, const char* id)
{
    if (!knownType(type) || !id || !*id)
        return 0;
    return withStore([&](Store* store) { return store->idExists(type, id) == 1 ? 1 : 0; }, 0);
}

char** net_prefs_list_ids(int type)
{
    if (!knownType(type))
        return nullptr;
    return withStore(
        [&](Store* store) -> char** {
            std::vector<std::string> ids;
            return store->listIds(type, &ids) ? toStringArray(ids) : nullptr;
        },
        nullptr);
}

char** net_prefs_list_keys(net_prefs_handle* handle)
{
    if (!handle)
        return nullptr;
    std::vector<std::string> keys;
    if (!handle->store->listKeys(handle->type, handle->id, &keys))
        return nullptr;
    return toStringArray(keys);
}

} // extern "C"

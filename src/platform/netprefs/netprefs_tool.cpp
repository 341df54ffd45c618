// netprefs: reads, writes and watches records of the connection-settings store.
#include "netprefs.h"

#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: netprefs [--db PATH] COMMAND ...\n"
    "\n"
    "  ids TYPE                       ids of the records of TYPE\n"
    "  keys TYPE ID                   keys that hold values in the record\n"
    "  get TYPE ID KEY                the value: its kind, then the value\n"
    "  set TYPE ID KEY KIND VALUE...  KIND: string, int, double, bool (true/false),\n"
    "                                 bytes (hex), or a list: strings, ints, doubles,\n"
    "                                 bools, taking one VALUE per element\n"
    "  unset TYPE ID KEY              remove the key's value\n"
    "  remove TYPE ID                 remove the record\n"
    "  watch TYPE ID                  print KEY and value for every change, until killed\n"
    "  fill TYPE ID PREFIX COUNT      write PREFIX0..PREFIX<COUNT-1> = index, one\n"
    "                                 transaction each, printing each index once stored\n"
    "\n"
    "TYPE: iap, bearer, general or the number. ID \"-\" is the type's default record.\n"
    "The database is $NETPREFS_DB, else $XDG_DATA_HOME/netprefs/netprefs.db.\n";

int fail(const char* message)
{
    std::fprintf(stderr, "netprefs: %s\n", message);
    return 2;
}

bool parseType(const char* text, int* type)
{
    if (!std::strcmp(text, "iap"))
        *type = NET_PREFS_TYPE_IAP;
    else if (!std::strcmp(text, "bearer"))
        *type = NET_PREFS_TYPE_BEARER;
    else if (!std::strcmp(text, "general"))
        *type = NET_PREFS_TYPE_GENERAL;
    else
        *type = std::atoi(text);
    return *type == NET_PREFS_TYPE_IAP || *type == NET_PREFS_TYPE_BEARER
        || *type == NET_PREFS_TYPE_GENERAL;
}

const char* parseId(const char* text)
{
    return std::strcmp(text, "-") == 0 ? nullptr : text;
}

void printScalar(const net_prefs_value* value)
{
    switch (value->type) {
    case NET_PREFS_VALUE_STRING:
        std::printf("string %s\n", value->value.string_value);
        break;
    case NET_PREFS_VALUE_INT:
        std::printf("int %d\n", value->value.int_value);
        break;
    case NET_PREFS_VALUE_DOUBLE:
        std::printf("double %.17g\n", value->value.double_value);
        break;
    case NET_PREFS_VALUE_BOOL:
        std::printf("bool %s\n", value->value.bool_value ? "true" : "false");
        break;
    case NET_PREFS_VALUE_BYTE_ARRAY:
        std::printf("bytes ");
        for (int i = 0; i < value->value.byte_array.length; ++i)
            std::printf("%02x", value->value.byte_array.data[i]);
        std::printf("\n");
        break;
    default:
        std::printf("unknown %d\n", value->type);
        break;
    }
}

void printValue(net_prefs_handle* handle, const char* key, const net_prefs_value* value)
{
    if (!value) {
        std::printf("none\n");
        return;
    }
    if (value->type != NET_PREFS_VALUE_LIST) {
        printScalar(value);
        return;
    }
    net_prefs_value** elements = nullptr;
    net_prefs_get_list(handle, key, &elements);
    int count = 0;
    for (net_prefs_value** e = elements; e && *e; ++e)
        ++count;
    std::printf("list %d\n", count);
    for (net_prefs_value** e = elements; e && *e; ++e) {
        std::printf("  ");
        printScalar(*e);
    }
    net_prefs_values_destroy(elements);
}

bool parseBool(const char* text, int* value)
{
    if (!std::strcmp(text, "true") || !std::strcmp(text, "1"))
        *value = 1;
    else if (!std::strcmp(text, "false") || !std::strcmp(text, "0"))
        *value = 0;
    else
        return false;
    return true;
}

int set(net_prefs_handle* handle, const char* key, const char* kind, int count, char** values)
{
    const std::string k = kind;
    if (k == "strings")
        return net_prefs_set_list(handle, key, values, count, NET_PREFS_VALUE_STRING);
    if (k == "ints" || k == "bools") {
        std::vector<int> numbers(size_t(count) + 1);
        for (int i = 0; i < count; ++i) {
            if (k == "ints")
                numbers[size_t(i)] = std::atoi(values[i]);
            else if (!parseBool(values[i], &numbers[size_t(i)]))
                return NET_PREFS_ERROR_INVALID;
        }
        return net_prefs_set_list(handle, key, numbers.data(), count,
                                  k == "ints" ? NET_PREFS_VALUE_INT : NET_PREFS_VALUE_BOOL);
    }
    if (k == "doubles") {
        std::vector<double> numbers(size_t(count) + 1);
        for (int i = 0; i < count; ++i)
            numbers[size_t(i)] = std::strtod(values[i], nullptr);
        return net_prefs_set_list(handle, key, numbers.data(), count, NET_PREFS_VALUE_DOUBLE);
    }
    if (count != 1)
        return NET_PREFS_ERROR_INVALID;
    const char* value = values[0];
    if (k == "string")
        return net_prefs_set_string(handle, key, value);
    if (k == "int")
        return net_prefs_set_int(handle, key, std::atoi(value));
    if (k == "double")
        return net_prefs_set_double(handle, key, std::strtod(value, nullptr));
    if (k == "bool") {
        int b = 0;
        return parseBool(value, &b) ? net_prefs_set_bool(handle, key, b) : NET_PREFS_ERROR_INVALID;
    }
    if (k == "bytes") {
        const size_t length = std::strlen(value);
        if (length % 2)
            return NET_PREFS_ERROR_INVALID;
        std::vector<unsigned char> bytes(length / 2 + 1);
        for (size_t i = 0; i < length / 2; ++i) {
            unsigned byte = 0;
            if (std::sscanf(value + 2 * i, "%2x", &byte) != 1)
                return NET_PREFS_ERROR_INVALID;
            bytes[i] = static_cast<unsigned char>(byte);
        }
        return net_prefs_set_byte_array(handle, key, bytes.data(), int(length / 2));
    }
    return NET_PREFS_ERROR_INVALID;
}

void printChange(int, const char*, const char* key, const net_prefs_value* value, void* handle)
{
    std::printf("%s ", key);
    printValue(static_cast<net_prefs_handle*>(handle), key, value);
    std::fflush(stdout);
}

int printStrings(char** strings)
{
    if (!strings)
        return fail("cannot read the store");
    for (char** s = strings; *s; ++s) {
        std::printf("%s\n", *s);
        std::free(*s);
    }
    std::free(strings);
    return 0;
}

int result(int code)
{
    if (code == NET_PREFS_OK)
        return 0;
    std::fprintf(stderr, "netprefs: failed (%d)\n", code);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    if (arg + 1 < argc && !std::strcmp(argv[arg], "--db")) {
        setenv("NETPREFS_DB", argv[arg + 1], 1);
        arg += 2;
    }
    if (arg >= argc || !std::strcmp(argv[arg], "--help") || !std::strcmp(argv[arg], "-h")) {
        std::fputs(Usage, arg >= argc ? stderr : stdout);
        return arg >= argc ? 2 : 0;
    }
    const std::string command = argv[arg++];
    const int rest = argc - arg;
    int type;
    if (rest < 1 || !parseType(argv[arg], &type))
        return fail("unknown record type; see --help");

    if (command == "ids")
        return printStrings(net_prefs_list_ids(type));

    if (rest < 2)
        return fail("missing record id; see --help");
    net_prefs_handle* handle = net_prefs_open(type, parseId(argv[arg + 1]));
    if (!handle)
        return fail("cannot open the store");
    char** args = argv + arg + 2;
    const int count = rest - 2;
    int status = 2;

    if (command == "keys" && count == 0) {
        status = printStrings(net_prefs_list_keys(handle));
    } else if (command == "get" && count == 1) {
        net_prefs_value* value = net_prefs_get(handle, args[0]);
        printValue(handle, args[0], value);
        net_prefs_value_destroy(value);
        status = 0;
    } else if (command == "set" && count >= 2) {
        status = result(set(handle, args[0], args[1], count - 2, args + 2));
    } else if (command == "unset" && count == 1) {
        status = result(net_prefs_unset(handle, args[0]));
    } else if (command == "remove" && count == 0) {
        status = result(net_prefs_remove(handle));
    } else if (command == "watch" && count == 0) {
        if (!net_prefs_add_notify(handle, &printChange, handle)) {
            status = fail("cannot watch the record");
        } else {
            std::printf("watching\n");
            std::fflush(stdout);
            GMainLoop* loop = g_main_loop_new(nullptr, false);
            g_main_loop_run(loop);
        }
    } else if (command == "fill" && count == 2) {
        const long total = std::atol(args[1]);
        status = 0;
        for (long i = 0; i < total && status == 0; ++i) {
            const std::string key = std::string(args[0]) + std::to_string(i);
            status = result(net_prefs_set_int(handle, key.c_str(), int(i)));
            if (status == 0) {
                std::printf("%ld\n", i);
                std::fflush(stdout);
            }
        }
    } else {
        status = fail("unknown command or wrong arguments; see --help");
    }
    net_prefs_close(handle);
    return status;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// netprefs: reads, writes and watches records of the connection-settings store.
#include "netprefs.h"

#include "commandline.h"

#include <glib.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: netprefs [--db PATH] COMMAND ...\n"
    "       netprefs --help | --version\n"
    "\n"
    "  ids TYPE                       ids of the records of TYPE\n"
    "  keys TYPE ID                   keys that hold values in the record\n"
    "  get TYPE ID KEY                the value: its kind, then the value\n"
    "  set TYPE ID KEY KIND VALUE...  KIND: string, int, double, bool, bytes, or a\n"
    "                                 list: strings, ints, doubles, bools, taking\n"
    "                                 one VALUE per element\n"
    "  unset TYPE ID KEY              remove the key's value\n"
    "  remove TYPE ID                 remove the record\n"
    "  watch TYPE ID                  print KEY and value for every change, until killed\n"
    "  fill TYPE ID PREFIX COUNT      write PREFIX0..PREFIX<COUNT-1> = index, one\n"
    "                                 transaction each, printing each index once stored\n"
    "\n"
    "Values: an int is decimal, -2147483648 to 2147483647; a double a finite\n"
    "decimal number (\"1.5\", \"-2e3\"); a bool true, false, 1 or 0; bytes pairs\n"
    "of hex digits. A bad value is refused with status 2, and nothing is written.\n"
    "\n"
    "TYPE: iap, bearer, general or the number. ID \"-\" is the type's default record.\n"
    "The database is PATH, else $NETPREFS_DB, else $XDG_DATA_HOME/netprefs/netprefs.db.\n"
    "\n"
    "Status: 0 done; 1 the store failed; 2 a mistake in the call.\n";

const char* const Tool = "netprefs";

// What each command takes after its name: the words at least, and whether
// more may follow.
struct Command
{
    const char* name;
    int words;
    bool more;
    const char* synopsis;
};

const Command Commands[] = {
    {"ids", 1, false, "TYPE"},
    {"keys", 2, false, "TYPE ID"},
    {"get", 3, false, "TYPE ID KEY"},
    {"set", 4, true, "TYPE ID KEY KIND VALUE..."},
    {"unset", 3, false, "TYPE ID KEY"},
    {"remove", 2, false, "TYPE ID"},
    {"watch", 2, false, "TYPE ID"},
    {"fill", 4, false, "TYPE ID PREFIX COUNT"},
};

// Names the word that cannot be taken, and what was expected.
int badWord(const char* word, const char* expected)
{
    return usageError(Tool, "'%s' is not %s", word, expected);
}

// A decimal integer within [minimum, maximum], the whole word: an optional
// sign and digits, no spaces.
bool parseInteger(const char* text, long long minimum, long long maximum, long long* value)
{
    const char* digits = text + (*text == '-' || *text == '+');
    if (*digits < '0' || *digits > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    *value = parsed;
    return true;
}

bool parseInt(const char* text, int* value)
{
    long long parsed = 0;
    if (!parseInteger(text, INT_MIN, INT_MAX, &parsed))
        return false;
    *value = int(parsed);
    return true;
}

// A finite number in decimal notation, the whole word; one too small to be
// told from zero is taken as what strtod makes of it.
bool parseDouble(const char* text, double* value)
{
    const char* digits = text + (*text == '-' || *text == '+');
    if ((*digits < '0' || *digits > '9') && *digits != '.')
        return false; // spaces, "inf", "nan"
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        return false; // hexadecimal
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

bool parseType(const char* text, int* type)
{
    long long number = 0;
    if (!std::strcmp(text, "iap"))
        *type = NET_PREFS_TYPE_IAP;
    else if (!std::strcmp(text, "bearer"))
        *type = NET_PREFS_TYPE_BEARER;
    else if (!std::strcmp(text, "general"))
        *type = NET_PREFS_TYPE_GENERAL;
    else if (parseInteger(text, NET_PREFS_TYPE_IAP, NET_PREFS_TYPE_GENERAL, &number))
        *type = int(number);
    else
        return false;
    return true;
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

int result(int code)
{
    return code == NET_PREFS_OK ? 0 : runtimeFailure(Tool, "failed (%d)", code);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

bool parseBytes(const char* text, std::vector<unsigned char>* bytes)
{
    const size_t length = std::strlen(text);
    if (length % 2)
        return false;
    for (size_t i = 0; i < length; i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes->push_back(static_cast<unsigned char>(high << 4 | low));
    }
    return true;
}

// Stores the values, every one of them checked first; the tool's status.
int set(net_prefs_handle* handle, const char* key, const char* kind, int count, char** values)
{
    const std::string k = kind;
    if (k == "strings")
        return result(net_prefs_set_list(handle, key, values, count, NET_PREFS_VALUE_STRING));
    if (k == "ints" || k == "bools") {
        std::vector<int> numbers(size_t(count) + 1);
        for (int i = 0; i < count; ++i) {
            if (k == "ints" ? !parseInt(values[i], &numbers[size_t(i)]) : !parseBool(values[i], &numbers[size_t(i)]))
                return badWord(values[i], k == "ints" ? "an int" : "a bool");
        }
        return result(net_prefs_set_list(handle, key, numbers.data(), count,
                                         k == "ints" ? NET_PREFS_VALUE_INT : NET_PREFS_VALUE_BOOL));
    }
    if (k == "doubles") {
        std::vector<double> numbers(size_t(count) + 1);
        for (int i = 0; i < count; ++i) {
            if (!parseDouble(values[i], &numbers[size_t(i)]))
                return badWord(values[i], "a finite double");
        }
        return result(net_prefs_set_list(handle, key, numbers.data(), count, NET_PREFS_VALUE_DOUBLE));
    }
    if (k != "string" && k != "int" && k != "double" && k != "bool" && k != "bytes")
        return badWord(kind, "a kind of value");
    if (count != 1)
        return badWord(kind, "followed by exactly one value");
    const char* value = values[0];
    int number = 0;
    double real = 0;
    std::vector<unsigned char> bytes;
    if (k == "string")
        return result(net_prefs_set_string(handle, key, value));
    if (k == "int")
        return parseInt(value, &number) ? result(net_prefs_set_int(handle, key, number)) : badWord(value, "an int");
    if (k == "double")
        return parseDouble(value, &real) ? result(net_prefs_set_double(handle, key, real))
                                         : badWord(value, "a finite double");
    if (k == "bool")
        return parseBool(value, &number) ? result(net_prefs_set_bool(handle, key, number)) : badWord(value, "a bool");
    if (!parseBytes(value, &bytes))
        return badWord(value, "pairs of hex digits");
    return result(net_prefs_set_byte_array(handle, key, bytes.data(), int(bytes.size())));
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
        return runtimeFailure(Tool, "cannot read the store");
    for (char** s = strings; *s; ++s) {
        std::printf("%s\n", *s);
        std::free(*s);
    }
    std::free(strings);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    // Options come before the command: after it, "-" is a record id.
    for (; arg < argc && argv[arg][0] == '-'; ++arg) {
        const std::string option = argv[arg];
        if (option == "--help" || option == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (option == "--version")
            return printVersion(Tool, TOOL_VERSION);
        if (option == "--") {
            ++arg;
            break;
        }
        const char* path = nullptr;
        if (option == "--db") {
            if (++arg == argc)
                return usageError(Tool, "missing value after '--db'");
            path = argv[arg];
        } else if (option.rfind("--db=", 0) == 0) {
            path = argv[arg] + std::strlen("--db=");
        } else {
            return usageError(Tool, "unknown option '%s'", argv[arg]);
        }
        // An empty one would quietly mean the default database.
        if (!*path)
            return usageError(Tool, "--db takes a path, not ''");
        setenv("NETPREFS_DB", path, 1);
    }
    if (arg >= argc)
        return usageError(Tool, "missing command");
    const std::string command = argv[arg++];
    const Command* known = nullptr;
    for (const Command& candidate : Commands)
        known = command == candidate.name ? &candidate : known;
    if (!known)
        return usageError(Tool, "unknown command '%s'", command.c_str());
    const int rest = argc - arg;
    if (rest < known->words || (rest > known->words && !known->more))
        return usageError(Tool, "'%s' takes %s", known->name, known->synopsis);
    int type;
    if (!parseType(argv[arg], &type))
        return badWord(argv[arg], "a record type");

    if (command == "ids")
        return printStrings(net_prefs_list_ids(type));

    net_prefs_handle* handle = net_prefs_open(type, parseId(argv[arg + 1]));
    if (!handle)
        return runtimeFailure(Tool, "cannot open the store");
    char** args = argv + arg + 2;
    const int count = rest - 2;
    int status = 0;

    if (command == "keys") {
        status = printStrings(net_prefs_list_keys(handle));
    } else if (command == "get") {
        net_prefs_value* value = net_prefs_get(handle, args[0]);
        printValue(handle, args[0], value);
        net_prefs_value_destroy(value);
        status = 0;
    } else if (command == "set") {
        status = set(handle, args[0], args[1], count - 2, args + 2);
    } else if (command == "unset") {
        status = result(net_prefs_unset(handle, args[0]));
    } else if (command == "remove") {
        status = result(net_prefs_remove(handle));
    } else if (command == "watch") {
        if (!net_prefs_add_notify(handle, &printChange, handle)) {
            status = runtimeFailure(Tool, "cannot watch the record");
        } else {
            std::printf("watching\n");
            std::fflush(stdout);
            GMainLoop* loop = g_main_loop_new(nullptr, false);
            g_main_loop_run(loop);
        }
    } else {
        long long total = 0;
        status = parseInteger(args[1], 0, INT_MAX, &total) ? 0 : badWord(args[1], "a count");
        for (long long i = 0; i < total && status == 0; ++i) {
            const std::string key = std::string(args[0]) + std::to_string(i);
            status = result(net_prefs_set_int(handle, key.c_str(), int(i)));
            if (status == 0) {
                std::printf("%lld\n", i);
                std::fflush(stdout);
            }
        }
    }
    net_prefs_close(handle);
    return status;
}

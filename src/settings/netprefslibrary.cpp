// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "settings/netprefslibrary_p.h"

#include "logging/pavanelogging_p.h"

#include <dlfcn.h>

namespace Pavane {

namespace {

// The answers of the store to a null handle, and to the functions without a
// handle when its database cannot be opened.
const NetPrefsLibrary unavailable = {
    [](int, const char*) -> net_prefs_handle* { return nullptr; },
    [](net_prefs_handle*) {},
    [](net_prefs_handle*, net_prefs_notify_func, void*) { return 0; },
    [](net_prefs_handle*) {},
    [](net_prefs_handle*, const char*) -> net_prefs_value* { return nullptr; },
    [](net_prefs_value*) {},
    [](net_prefs_handle*, const char*, net_prefs_value***) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_value**) {},
    [](net_prefs_handle*, const char*, int) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*, int) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*, double) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*, const char*) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*, const void*, int) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*, const void*, int, int) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*, const char*) { return NET_PREFS_ERROR_INVALID; },
    [](net_prefs_handle*) { return NET_PREFS_ERROR_INVALID; },
    [](int, const char*) { return 0; },
    [](int) -> char** { return nullptr; },
    [](net_prefs_handle*) -> char** { return nullptr; },
};

template<typename Function>
bool resolve(void* library, const char* name, Function* function)
{
    void* symbol = dlsym(library, name);
    *function = reinterpret_cast<Function>(symbol);
    return symbol != nullptr;
}

NetPrefsLibrary load()
{
    // The soname of the store this library was built against, searched as
    // the loader searches for this library's own needs: through this
    // library's run path, which names the folder beside it. The loader takes
    // that path from dlopen's caller, so it is called past any wrapper of
    // dlopen (a sanitizer's, a preloaded tool's) that would pose as the caller.
    using Open = void* (*)(const char*, int);
    const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "dlopen"));
    void* library = (open ? open : &dlopen)(PAVANE_NETPREFS_SONAME, RTLD_NOW | RTLD_LOCAL);
    NetPrefsLibrary loaded;
#define PAVANE_RESOLVE(function) resolve(library, "net_prefs_" #function, &loaded.function)
    const bool complete = library && PAVANE_RESOLVE(open) && PAVANE_RESOLVE(close)
        && PAVANE_RESOLVE(add_notify) && PAVANE_RESOLVE(del_notify) && PAVANE_RESOLVE(get)
        && PAVANE_RESOLVE(value_destroy) && PAVANE_RESOLVE(get_list) && PAVANE_RESOLVE(values_destroy)
        && PAVANE_RESOLVE(set_bool) && PAVANE_RESOLVE(set_int) && PAVANE_RESOLVE(set_double)
        && PAVANE_RESOLVE(set_string) && PAVANE_RESOLVE(set_byte_array) && PAVANE_RESOLVE(set_list)
        && PAVANE_RESOLVE(unset) && PAVANE_RESOLVE(remove) && PAVANE_RESOLVE(id_exists)
        && PAVANE_RESOLVE(list_ids) && PAVANE_RESOLVE(list_keys);
#undef PAVANE_RESOLVE
    if (complete)
        return loaded;
    const char* error = dlerror();
    qCWarning(lcSettings, "Cannot use the settings store: %s", error ? error : PAVANE_NETPREFS_SONAME);
    if (library)
        dlclose(library);
    return unavailable;
}

} // namespace

const NetPrefsLibrary& NetPrefsLibrary::functions()
{
    static const NetPrefsLibrary library = load();
    return library;
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_NETPREFSLIBRARY_P_H
#define PAVANE_NETPREFSLIBRARY_P_H

#include "netprefs.h"

namespace Pavane {

// The settings store's functions. Most hosts never open a settings record,
// so the store's library (and the SQLite it brings) is loaded only when the
// first one is, instead of at every host's start.
struct NetPrefsLibrary
{
    decltype(&net_prefs_open) open;
    decltype(&net_prefs_close) close;
    decltype(&net_prefs_add_notify) add_notify;
    decltype(&net_prefs_del_notify) del_notify;
    decltype(&net_prefs_get) get;
    decltype(&net_prefs_value_destroy) value_destroy;
    decltype(&net_prefs_get_list) get_list;
    decltype(&net_prefs_values_destroy) values_destroy;
    decltype(&net_prefs_set_bool) set_bool;
    decltype(&net_prefs_set_int) set_int;
    decltype(&net_prefs_set_double) set_double;
    decltype(&net_prefs_set_string) set_string;
    decltype(&net_prefs_set_byte_array) set_byte_array;
    decltype(&net_prefs_set_list) set_list;
    decltype(&net_prefs_unset) unset;
    decltype(&net_prefs_remove) remove;
    decltype(&net_prefs_id_exists) id_exists;
    decltype(&net_prefs_list_ids) list_ids;
    decltype(&net_prefs_list_keys) list_keys;

    // The first call loads the library, once per process, and keeps it. A
    // library that cannot be loaded or lacks a function is reported once;
    // the functions then answer as the store does for a record that it
    // cannot open.
    static const NetPrefsLibrary& functions();
};

} // namespace Pavane

#endif

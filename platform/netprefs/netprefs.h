// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
/*
 * netprefs: the connection-settings store.
 *
 * Records of connection settings, each identified by a record type and a
 * record id, hold typed values under string keys. Everything lives in one
 * SQLite database, shared by every process of the user:
 *
 *   $NETPREFS_DB                          when set: the database file itself
 *   $XDG_DATA_HOME/netprefs/netprefs.db   otherwise
 *   ~/.local/share/netprefs/netprefs.db   when XDG_DATA_HOME is unset
 *
 * The database and a folder created for it are readable by the owner only:
 * they hold WLAN keys. Both are created by the first write, never by a read
 * and never through a symbolic link that leads nowhere; until then the store
 * reads as empty. Every write is one transaction, durable when the function
 * returns (WAL journal, synchronous=FULL). Reads see every value committed
 * before them, by this process or any other, whatever became of the writer
 * after its commit. Values of more than 16 MiB are refused; a row that
 * another program left with a value unfit for its kind reads as no value.
 *
 * Threads: a process uses the store from one thread, the thread whose GLib
 * main context delivers its change callbacks.
 *
 * Every function accepts a null handle and answers with its failure result
 * (NULL, 0 or a negative result code).
 */
#ifndef NETPREFS_H
#define NETPREFS_H

#ifdef __cplusplus
extern "C" {
#endif

#define NET_PREFS_API __attribute__((visibility("default")))

/* Record types. The codes are stored in the database and never change. The
   functions take them as int, so that any value a caller passes is defined;
   codes other than these are refused. */
typedef enum net_prefs_type {
    NET_PREFS_TYPE_IAP = 1,     /* connection access points ("IAP") */
    NET_PREFS_TYPE_BEARER = 2,  /* settings of one bearer kind; id is the bearer, e.g. "WLAN_INFRA" */
    NET_PREFS_TYPE_GENERAL = 3  /* connectivity-wide settings */
} net_prefs_type;

/* Value types, the first member of every value record. */
typedef enum net_prefs_value_type {
    NET_PREFS_VALUE_NONE = 0,
    NET_PREFS_VALUE_STRING = 1,     /* string_value: NUL-terminated UTF-8 */
    NET_PREFS_VALUE_INT = 2,        /* int_value */
    NET_PREFS_VALUE_DOUBLE = 3,     /* double_value */
    NET_PREFS_VALUE_BOOL = 4,       /* bool_value: non-zero is true */
    NET_PREFS_VALUE_LIST = 5,       /* no payload; read the elements with net_prefs_get_list */
    NET_PREFS_VALUE_BYTE_ARRAY = 6  /* byte_array: data and length */
} net_prefs_value_type;

typedef struct net_prefs_value {
    int type; /* a net_prefs_value_type */
    union {
        char *string_value;
        int int_value;
        double double_value;
        int bool_value;
        struct {
            unsigned char *data;
            int length;
        } byte_array;
    } value;
} net_prefs_value;

/* Result codes of the functions that return an int result. */
#define NET_PREFS_OK 0
#define NET_PREFS_ERROR_INVALID (-1)   /* null handle, key or value; bad element type or count */
#define NET_PREFS_ERROR_STORE (-2)     /* the database could not be read or written */
#define NET_PREFS_ERROR_NO_VALUE (-3)  /* net_prefs_get_list: the key has no value */
#define NET_PREFS_ERROR_NOT_LIST (-4)  /* net_prefs_get_list: the value is not a list */

typedef struct net_prefs_handle net_prefs_handle;

/*
 * Opens record @id of @type, whether or not it holds values yet: a record
 * exists, for net_prefs_id_exists and net_prefs_list_ids, while it holds at
 * least one value. A NULL or empty @id opens the type's default record, which
 * holds the type-wide settings and is never listed. Returns NULL when the
 * database cannot be opened or is damaged, or @type is not one of the above.
 */
NET_PREFS_API net_prefs_handle *net_prefs_open(int type, const char *id);
NET_PREFS_API void net_prefs_close(net_prefs_handle *handle);

/*
 * Change notification. @func is called for every change of the handle's
 * record, made by this process or by another one: the record type, the
 * record id (the second argument; "" for the default record), the changed
 * key, the key's new value (the fourth argument; NULL when the key lost its
 * value; owned by the store, valid during the call only) and @user_data.
 *
 * Callbacks are delivered from the GLib main context that is the thread's
 * default when net_prefs_add_notify is called. Returns non-zero on success.
 * Writers wake the watching processes by opening the file
 * "<database>-notify" after each commit; a change whose writer died before
 * that, or that was made while the file could not be opened, is announced
 * with the next change or the next read of this process.
 */
typedef void (*net_prefs_notify_func)(int type, const char *id, const char *key,
                                      const net_prefs_value *value, void *user_data);
NET_PREFS_API int net_prefs_add_notify(net_prefs_handle *handle, net_prefs_notify_func func, void *user_data);
/* Ends every notification of @handle; no callback arrives after it returns. */
NET_PREFS_API void net_prefs_del_notify(net_prefs_handle *handle);

/* The value under @key, or NULL when it has none. Release with net_prefs_value_destroy. */
NET_PREFS_API net_prefs_value *net_prefs_get(net_prefs_handle *handle, const char *key);
NET_PREFS_API void net_prefs_value_destroy(net_prefs_value *value);

/*
 * The elements of the list under @key: *@values becomes a NULL-terminated
 * array of value records (strings, integers, doubles or booleans), released
 * with net_prefs_values_destroy. Returns NET_PREFS_OK or an error code.
 */
NET_PREFS_API int net_prefs_get_list(net_prefs_handle *handle, const char *key, net_prefs_value ***values);
NET_PREFS_API void net_prefs_values_destroy(net_prefs_value **values); /* accepts NULL */

/* Writers: each returns NET_PREFS_OK or an error code. */
NET_PREFS_API int net_prefs_set_bool(net_prefs_handle *handle, const char *key, int value);
NET_PREFS_API int net_prefs_set_int(net_prefs_handle *handle, const char *key, int value);
NET_PREFS_API int net_prefs_set_double(net_prefs_handle *handle, const char *key, double value);
NET_PREFS_API int net_prefs_set_string(net_prefs_handle *handle, const char *key, const char *value);
NET_PREFS_API int net_prefs_set_byte_array(net_prefs_handle *handle, const char *key, const void *data, int length);
/*
 * Stores a list of @count elements of @element_type: NET_PREFS_VALUE_STRING
 * (@elements is const char *const *), NET_PREFS_VALUE_INT or
 * NET_PREFS_VALUE_BOOL (const int *), NET_PREFS_VALUE_DOUBLE
 * (const double *). @elements may be NULL when @count is 0. The store copies
 * what it keeps.
 */
NET_PREFS_API int net_prefs_set_list(net_prefs_handle *handle, const char *key, const void *elements, int count,
                       int element_type);
/* Removes the value under @key. */
NET_PREFS_API int net_prefs_unset(net_prefs_handle *handle, const char *key);
/* Removes every value of the record, and so the record. */
NET_PREFS_API int net_prefs_remove(net_prefs_handle *handle);

/* Non-zero when a record of @type with @id holds values. */
NET_PREFS_API int net_prefs_id_exists(int type, const char *id);

/*
 * NULL-terminated arrays of NUL-terminated strings, in byte order; the array
 * and every string are allocated with malloc and released by the caller with
 * free. NULL on failure.
 */
NET_PREFS_API char **net_prefs_list_ids(int type);
NET_PREFS_API char **net_prefs_list_keys(net_prefs_handle *handle);

#ifdef __cplusplus
}
#endif

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "dbus/glibmainloop_p.h"

#include <glib.h>

#include <algorithm>
#include <climits>
#include <map>
#include <unordered_map>
#include <vector>

namespace Pavane {

namespace {

// One GLib source drives the whole connection: its socket, every time-out
// libdbus asks for, and dispatching. A source per time-out would make every
// main-loop pass walk all the calls in flight, and dispatching one message
// per pass would cost a pass per reply.
struct Binding;

struct BindingSource
{
    GSource source;
    Binding* binding;
};

struct Binding
{
    struct Watch
    {
        DBusWatch* watch;
        gpointer tag; // while enabled: the source's handle on its descriptor
    };

    struct Scheduled
    {
        std::multimap<gint64, DBusTimeout*>::iterator at;
        guint64 serial;
    };

    DBusConnection* connection = nullptr; // the binding lives as long as it
    BindingSource* source = nullptr;
    std::vector<Watch> watches;
    // Enabled time-outs by deadline (monotonic microseconds). The serial tells
    // a time-out from a later one at the same address.
    std::multimap<gint64, DBusTimeout*> deadlines;
    std::unordered_map<DBusTimeout*, Scheduled> scheduled;
    guint64 serial = 0;

    ~Binding()
    {
        for (const Watch& w : watches) {
            if (w.tag)
                g_source_remove_unix_fd(&source->source, w.tag);
        }
        g_source_destroy(&source->source);
        g_source_unref(&source->source);
    }

    std::vector<Watch>::iterator find(DBusWatch* watch)
    {
        return std::find_if(watches.begin(), watches.end(),
                            [watch](const Watch& w) { return w.watch == watch; });
    }

    void enable(Watch& w)
    {
        const bool on = dbus_watch_get_enabled(w.watch);
        if (on && !w.tag) {
            const unsigned flags = dbus_watch_get_flags(w.watch);
            int condition = G_IO_ERR | G_IO_HUP;
            if (flags & DBUS_WATCH_READABLE)
                condition |= G_IO_IN;
            if (flags & DBUS_WATCH_WRITABLE)
                condition |= G_IO_OUT;
            w.tag = g_source_add_unix_fd(&source->source, dbus_watch_get_unix_fd(w.watch),
                                         GIOCondition(condition));
        } else if (!on && w.tag) {
            g_source_remove_unix_fd(&source->source, w.tag);
            w.tag = nullptr;
        }
    }

    void unschedule(DBusTimeout* timeout)
    {
        const auto it = scheduled.find(timeout);
        if (it == scheduled.end())
            return;
        deadlines.erase(it->second.at);
        scheduled.erase(it);
    }

    // Counts from @p now, as a repeating GLib time-out does after each run.
    void schedule(DBusTimeout* timeout, gint64 now)
    {
        unschedule(timeout);
        if (!dbus_timeout_get_enabled(timeout))
            return;
        const gint64 deadline = now + gint64(dbus_timeout_get_interval(timeout)) * 1000;
        scheduled[timeout] = {deadlines.emplace(deadline, timeout), ++serial};
    }

    bool timeoutDue(gint64 now) const { return !deadlines.empty() && deadlines.begin()->first <= now; }

    bool dispatchPending() const
    {
        return dbus_connection_get_dispatch_status(connection) == DBUS_DISPATCH_DATA_REMAINS;
    }

    bool watchReady() const
    {
        for (const Watch& w : watches) {
            if (w.tag && g_source_query_unix_fd(&source->source, w.tag))
                return true;
        }
        return false;
    }

    // Handling a watch or a time-out may add, change or remove any of them,
    // so each runs from a snapshot and is looked up again first.
    void handleWatches()
    {
        std::vector<std::pair<DBusWatch*, unsigned>> ready;
        for (const Watch& w : watches) {
            if (!w.tag)
                continue;
            const unsigned condition = g_source_query_unix_fd(&source->source, w.tag);
            unsigned flags = 0;
            if (condition & G_IO_IN)
                flags |= DBUS_WATCH_READABLE;
            if (condition & G_IO_OUT)
                flags |= DBUS_WATCH_WRITABLE;
            if (condition & G_IO_ERR)
                flags |= DBUS_WATCH_ERROR;
            if (condition & G_IO_HUP)
                flags |= DBUS_WATCH_HANGUP;
            if (flags)
                ready.emplace_back(w.watch, flags);
        }
        for (const auto& [watch, flags] : ready) {
            const auto it = find(watch);
            if (it != watches.end() && it->tag)
                dbus_watch_handle(watch, flags);
        }
    }

    void handleTimeouts(gint64 now)
    {
        std::vector<DBusTimeout*> expired;
        for (auto it = deadlines.begin(); it != deadlines.end() && it->first <= now; ++it)
            expired.push_back(it->second);
        std::vector<std::pair<DBusTimeout*, guint64>> due;
        for (DBusTimeout* timeout : expired) {
            schedule(timeout, now);
            due.emplace_back(timeout, serial);
        }
        for (const auto& [timeout, serialDue] : due) {
            const auto it = scheduled.find(timeout);
            if (it != scheduled.end() && it->second.serial == serialDue)
                dbus_timeout_handle(timeout);
        }
    }
};

Binding* bindingOf(GSource* source)
{
    return reinterpret_cast<BindingSource*>(source)->binding;
}

gboolean prepareSource(GSource* source, gint* timeout)
{
    Binding* b = bindingOf(source);
    *timeout = -1;
    if (b->dispatchPending()) {
        *timeout = 0;
        return true;
    }
    if (b->deadlines.empty())
        return false;
    const gint64 wait = b->deadlines.begin()->first - g_source_get_time(source);
    if (wait <= 0) {
        *timeout = 0;
        return true;
    }
    *timeout = int(std::min<gint64>((wait + 999) / 1000, INT_MAX));
    return false;
}

gboolean checkSource(GSource* source)
{
    Binding* b = bindingOf(source);
    return b->watchReady() || b->dispatchPending() || b->timeoutDue(g_source_get_time(source));
}

gboolean dispatchSource(GSource* source, GSourceFunc, gpointer)
{
    Binding* b = bindingOf(source);
    // The handlers may close and release the connection; this reference keeps
    // it, and with it the binding, until the pass is over.
    DBusConnection* connection = dbus_connection_ref(b->connection);
    b->handleWatches();
    b->handleTimeouts(g_source_get_time(source));
    // Everything read so far goes out in this pass, not one message a pass.
    while (dbus_connection_dispatch(connection) == DBUS_DISPATCH_DATA_REMAINS) {
    }
    dbus_connection_unref(connection);
    return G_SOURCE_CONTINUE;
}

GSourceFuncs sourceFuncs = {prepareSource, checkSource, dispatchSource, nullptr, nullptr, nullptr};

dbus_bool_t addWatch(DBusWatch* watch, void* data)
{
    auto* b = static_cast<Binding*>(data);
    b->watches.push_back({watch, nullptr});
    b->enable(b->watches.back());
    return true;
}

void removeWatch(DBusWatch* watch, void* data)
{
    auto* b = static_cast<Binding*>(data);
    const auto it = b->find(watch);
    if (it == b->watches.end())
        return;
    if (it->tag)
        g_source_remove_unix_fd(&b->source->source, it->tag);
    b->watches.erase(it);
}

void toggleWatch(DBusWatch* watch, void* data)
{
    auto* b = static_cast<Binding*>(data);
    const auto it = b->find(watch);
    if (it != b->watches.end())
        b->enable(*it);
}

dbus_bool_t addTimeout(DBusTimeout* timeout, void* data)
{
    static_cast<Binding*>(data)->schedule(timeout, g_get_monotonic_time());
    return true;
}

void removeTimeout(DBusTimeout* timeout, void* data)
{
    static_cast<Binding*>(data)->unschedule(timeout);
}

void toggleTimeout(DBusTimeout* timeout, void* data)
{
    static_cast<Binding*>(data)->schedule(timeout, g_get_monotonic_time());
}

void freeBinding(void* data)
{
    delete static_cast<Binding*>(data);
}

dbus_int32_t bindingSlot = -1;

} // namespace

void attachToDefaultMainContext(DBusConnection* connection)
{
    // One slot for all connections, kept for the life of the process.
    if (bindingSlot < 0 && !dbus_connection_allocate_data_slot(&bindingSlot))
        return;
    auto* binding = new Binding;
    binding->connection = connection;
    binding->source = reinterpret_cast<BindingSource*>(g_source_new(&sourceFuncs, sizeof(BindingSource)));
    binding->source->binding = binding;
    g_source_attach(&binding->source->source, nullptr);
    // Freed with the connection, when its last reference goes.
    if (!dbus_connection_set_data(connection, bindingSlot, binding, &freeBinding)) {
        delete binding;
        return;
    }
    dbus_connection_set_watch_functions(connection, addWatch, removeWatch, toggleWatch, binding, nullptr);
    dbus_connection_set_timeout_functions(connection, addTimeout, removeTimeout, toggleTimeout, binding,
                                          nullptr);
}

} // namespace Pavane

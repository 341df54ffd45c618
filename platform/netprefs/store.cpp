// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "store.h"

#include <glib-unix.h>
#include <glib.h>
#include <sqlite3.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace netprefs {

namespace {

#ifdef NETPREFS_FAULT_POINTS
// Test builds only: a write stops at the point named by NETPREFS_STOP_AT,
// after saying so on standard output, so that a test can kill it right there.
void faultPoint(const char* name)
{
    const char* at = std::getenv("NETPREFS_STOP_AT");
    if (!at || std::strcmp(at, name) != 0)
        return;
    std::printf("stopped at %s\n", name);
    std::fflush(stdout);
    raise(SIGSTOP);
}
#else
inline void faultPoint(const char*) {}
#endif

// The change log keeps the last KeptChanges entries; a process that falls
// further behind drops its whole cache. Pruned every PruneEvery writes.
constexpr int64_t KeptChanges = 4096;
constexpr int64_t PruneEvery = 1024;
constexpr size_t MaxCacheEntries = 8192;
// Larger values are read from the database each time.
constexpr size_t MaxCachedBytes = 64 * 1024;
// How often changes are looked for when the folder cannot be watched.
constexpr unsigned PollMilliseconds = 50;

const char* const Schema =
    "CREATE TABLE IF NOT EXISTS settings ("
    "  type INTEGER NOT NULL, id TEXT NOT NULL, key TEXT NOT NULL,"
    "  kind INTEGER NOT NULL, value,"
    "  PRIMARY KEY (type, id, key)) WITHOUT ROWID;"
    // Without AUTOINCREMENT (which costs a page write per commit): pruning
    // never deletes the newest entry, so a new seq is always above every
    // seq handed out before.
    "CREATE TABLE IF NOT EXISTS changes ("
    "  seq INTEGER PRIMARY KEY,"
    "  type INTEGER NOT NULL, id TEXT NOT NULL, key TEXT NOT NULL);";

const char* const StatementSql[] = {
    "SELECT kind, value FROM settings WHERE type = ?1 AND id = ?2 AND key = ?3",
    "INSERT OR REPLACE INTO settings (type, id, key, kind, value) VALUES (?1, ?2, ?3, ?4, ?5)",
    "DELETE FROM settings WHERE type = ?1 AND id = ?2 AND key = ?3",
    "DELETE FROM settings WHERE type = ?1 AND id = ?2",
    "SELECT key FROM settings WHERE type = ?1 AND id = ?2 ORDER BY key",
    "SELECT DISTINCT id FROM settings WHERE type = ?1 AND id <> '' ORDER BY id",
    "SELECT 1 FROM settings WHERE type = ?1 AND id = ?2 LIMIT 1",
    "INSERT INTO changes (type, id, key) VALUES (?1, ?2, ?3)",
    "DELETE FROM changes WHERE seq <= ?1",
    "SELECT seq, type, id, key FROM changes WHERE seq > ?1 ORDER BY seq",
    "SELECT coalesce(max(seq), 0) FROM changes",
    "PRAGMA data_version",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

std::map<std::string, Store*>& openStores()
{
    static std::map<std::string, Store*> stores;
    return stores;
}

std::string databasePath()
{
    if (const char* path = std::getenv("NETPREFS_DB"); path && *path) {
        // SQLite would take a relative "file:..." for a URI.
        return *path == '/' ? std::string(path) : "./" + std::string(path);
    }
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home)
            return {};
        base = std::string(home) + "/.local/share";
    }
    return base + "/netprefs/netprefs.db";
}

// Creates the folder (and missing parents) readable by the owner only.
bool makeFolder(const std::string& path)
{
    if (path.empty() || path == ".")
        return true;
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeFolder(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.data(), int(text.size()), SQLITE_STATIC);
}

std::string columnBytes(sqlite3_stmt* statement, int column)
{
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return data && size > 0 ? std::string(static_cast<const char*>(data), size_t(size)) : std::string();
}

// Resets a statement when it goes out of scope, whatever path is taken.
struct Use
{
    explicit Use(sqlite3_stmt* statement)
        : statement(statement)
    {
    }
    ~Use() { sqlite3_reset(statement); }
    sqlite3_stmt* statement;
};

} // namespace

Store* Store::acquire()
{
    const std::string path = databasePath();
    if (path.empty())
        return nullptr;
    auto& stores = openStores();
    if (auto it = stores.find(path); it != stores.end()) {
        it->second->ref();
        return it->second;
    }
    auto* store = new Store(path);
    switch (store->openDatabase(false)) {
    case Presence::Broken:
        delete store;
        return nullptr;
    case Presence::Open: {
        // Changes made before this process came are no concern of its own.
        Use use(store->statements[MaxSeq]);
        store->lastSeq = sqlite3_step(use.statement) == SQLITE_ROW ? sqlite3_column_int64(use.statement, 0) : 0;
        break;
    }
    case Presence::Absent:
        break;
    }
    stores[path] = store;
    return store;
}

Store::Store(const std::string& path)
    : path(path)
{
    const size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    notifyName = path.substr(slash == std::string::npos ? 0 : slash + 1) + "-notify";
}

Store::~Store()
{
    stopNotifying();
    auto& stores = openStores();
    if (auto it = stores.find(path); it != stores.end() && it->second == this)
        stores.erase(it);
    closeDatabase();
}

void Store::unref()
{
    if (--references == 0)
        delete this;
}

// Opens the database; only a write creates it, and its folder. Never through
// a link at its path that leads nowhere: that would create the link's target.
Store::Presence Store::openDatabase(bool create)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return Presence::Broken;
        if (!create)
            return Presence::Absent;
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos && !makeFolder(path.substr(0, slash)))
            return Presence::Broken;
        // Created here, so that it is the owner's only; SQLite gives its
        // journal files the same mode.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return Presence::Broken;
        if (fd >= 0)
            close(fd);
    }

    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK) {
        closeDatabase();
        return Presence::Broken;
    }
    sqlite3_busy_timeout(db, 10000);
    // A row that another program made huge is refused, not copied.
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, MaxValueBytes + 1024);

    sqlite3_stmt* mode = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &mode, nullptr) == SQLITE_OK
        && sqlite3_step(mode) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(mode, 0));
        wal = text && std::strcmp(text, "wal") == 0;
    }
    sqlite3_finalize(mode);
    if (!wal || sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db, Schema, nullptr, nullptr, nullptr) != SQLITE_OK || !prepare()) {
        closeDatabase();
        return Presence::Broken;
    }
    seenDataVersion = -1;
    walHeaderKnown = false;
    cache.clear();
    return Presence::Open;
}

void Store::closeDatabase()
{
    for (sqlite3_stmt*& statement : statements) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    sqlite3_close(db);
    db = nullptr;
}

bool Store::prepare()
{
    for (int i = 0; i < StatementCount; ++i) {
        if (sqlite3_prepare_v3(db, StatementSql[i], -1, SQLITE_PREPARE_PERSISTENT, &statements[i],
                               nullptr)
            != SQLITE_OK)
            return false;
    }
    return true;
}

// True when the database is open, opening it when another process has
// created it since.
bool Store::readable()
{
    return db || openDatabase(false) == Presence::Open;
}

// Wakes the processes watching the folder: inotify reports the opening of
// "<database>-notify" to them. The file is opened for reading only, without
// following links, and never written (writing it would cost a metadata
// update on every write, and could damage a file that is not the store's),
// so whatever stands at that name stays as it is. It is made when missing.
void Store::touchNotifyFile()
{
    const std::string notifyPath = folder + "/" + notifyName;
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(notifyPath.c_str(), flags);
    if (fd < 0 && errno == ENOENT)
        fd = ::open(notifyPath.c_str(), flags | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        close(fd);
    } else if (!warnedNotify) {
        g_warning("netprefs: cannot open %s: %s; other processes learn of changes late", notifyPath.c_str(),
                  std::strerror(errno));
        warnedNotify = true;
    }
}

const std::string& Store::cacheKey(int type, const std::string& id, const std::string& key)
{
    // One buffer, reused: building the key costs no allocation once warm.
    keyBuffer.clear();
    keyBuffer.append(reinterpret_cast<const char*>(&type), sizeof type);
    keyBuffer.append(id);
    keyBuffer.push_back('\0');
    keyBuffer.append(key);
    return keyBuffer;
}

void Store::cacheStore(const std::string& key, const StoredValue& value)
{
    if (value.bytes.size() > MaxCachedBytes) {
        cache.erase(key);
        return;
    }
    if (cache.size() >= MaxCacheEntries)
        cache.clear();
    cache[key] = value;
}

const StoredValue* Store::get(int type, const std::string& id, const std::string& key)
{
    static const StoredValue none;
    if (!readable())
        return db ? nullptr : &none;
    if (!refresh())
        cache.clear();
    return lookup(type, id, key);
}

const StoredValue* Store::lookup(int type, const std::string& id, const std::string& key)
{
    if (!db)
        return nullptr;
    const std::string& k = cacheKey(type, id, key);
    if (auto it = cache.find(k); it != cache.end())
        return &it->second;
    Use use(statements[Get]);
    sqlite3_bind_int(use.statement, 1, type);
    bindText(use.statement, 2, id);
    bindText(use.statement, 3, key);
    const int status = sqlite3_step(use.statement);
    StoredValue value;
    if (status == SQLITE_ROW) {
        value = decodeRow(sqlite3_column_int64(use.statement, 0), sqlite3_column_type(use.statement, 1),
                          sqlite3_column_int64(use.statement, 1), sqlite3_column_double(use.statement, 1),
                          columnBytes(use.statement, 1));
    } else if (status != SQLITE_DONE) {
        return nullptr;
    }
    if (value.bytes.size() > MaxCachedBytes) {
        uncached = std::move(value);
        return &uncached;
    }
    cacheStore(k, value);
    return &cache.find(k)->second;
}

bool Store::begin()
{
    if (!db && openDatabase(true) != Presence::Open)
        return false;
    {
        Use use(statements[Begin]);
        if (sqlite3_step(use.statement) != SQLITE_DONE)
            return false;
    }
    // What others committed before this write is read now, under the write
    // lock: so this write's own change number follows them, and lastSeq
    // can move on to it.
    if (refresh())
        return true;
    Use use(statements[Rollback]);
    sqlite3_step(use.statement);
    return false;
}

// Commits when every step went well, else (or when the commit fails) rolls
// the transaction back. True when committed.
bool Store::commitOrRollback(bool ok)
{
    if (ok) {
        faultPoint("before-commit");
        Use use(statements[Commit]);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
    }
    if (!ok) {
        Use use(statements[Rollback]);
        sqlite3_step(use.statement);
    }
    return ok;
}

int Store::write(int type, const std::string& id, const std::string& key, const StoredValue& value)
{
    if (!begin())
        return NET_PREFS_ERROR_STORE;

    bool ok = true;
    bool changed = true;
    if (value.isNone()) {
        Use use(statements[DeleteKey]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        bindText(use.statement, 3, key);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
        changed = sqlite3_changes(db) > 0;
    } else {
        Use use(statements[Upsert]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        bindText(use.statement, 3, key);
        sqlite3_bind_int(use.statement, 4, value.kind);
        switch (value.kind) {
        case NET_PREFS_VALUE_STRING:
            bindText(use.statement, 5, value.bytes);
            break;
        case NET_PREFS_VALUE_INT:
        case NET_PREFS_VALUE_BOOL:
            sqlite3_bind_int64(use.statement, 5, value.integer);
            break;
        case NET_PREFS_VALUE_DOUBLE:
            sqlite3_bind_double(use.statement, 5, value.real);
            break;
        default:
            sqlite3_bind_blob(use.statement, 5, value.bytes.data(), int(value.bytes.size()),
                              SQLITE_STATIC);
            break;
        }
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
    }

    int64_t seq = 0;
    if (ok && changed)
        ok = logChange(type, id, key, &seq);
    if (ok && seq > 0 && seq % PruneEvery == 0) {
        Use use(statements[Prune]);
        sqlite3_bind_int64(use.statement, 1, seq - KeptChanges);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
    }

    if (!commitOrRollback(ok))
        return NET_PREFS_ERROR_STORE;
    faultPoint("after-commit");
    if (changed) {
        lastSeq = seq;
        cacheStore(cacheKey(type, id, key), value);
        announce(Change{type, id, key});
        touchNotifyFile();
    }
    return NET_PREFS_OK;
}

bool Store::logChange(int type, const std::string& id, const std::string& key, int64_t* seq)
{
    Use use(statements[Log]);
    sqlite3_bind_int(use.statement, 1, type);
    bindText(use.statement, 2, id);
    bindText(use.statement, 3, key);
    if (sqlite3_step(use.statement) != SQLITE_DONE)
        return false;
    *seq = sqlite3_last_insert_rowid(db);
    return true;
}

int Store::removeRecord(int type, const std::string& id)
{
    std::vector<std::string> keys;
    if (!listKeys(type, id, &keys))
        return NET_PREFS_ERROR_STORE;
    if (keys.empty())
        return NET_PREFS_OK;

    if (!begin())
        return NET_PREFS_ERROR_STORE;
    // The keys are read again inside the transaction: another process may
    // have changed them since.
    bool ok = selectKeys(type, id, &keys);
    {
        Use use(statements[DeleteRecord]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        ok = ok && sqlite3_step(use.statement) == SQLITE_DONE;
    }
    int64_t seq = 0;
    for (const std::string& key : keys) {
        if (!ok)
            break;
        ok = logChange(type, id, key, &seq);
    }
    if (!commitOrRollback(ok))
        return NET_PREFS_ERROR_STORE;
    faultPoint("after-commit");
    if (keys.empty())
        return NET_PREFS_OK;
    lastSeq = seq;
    for (const std::string& key : keys) {
        cacheStore(cacheKey(type, id, key), StoredValue());
        announce(Change{type, id, key});
    }
    touchNotifyFile();
    return NET_PREFS_OK;
}

int Store::idExists(int type, const std::string& id)
{
    if (!readable())
        return db ? -1 : 0;
    Use use(statements[Exists]);
    sqlite3_bind_int(use.statement, 1, type);
    bindText(use.statement, 2, id);
    const int status = sqlite3_step(use.statement);
    return status == SQLITE_ROW ? 1 : status == SQLITE_DONE ? 0 : -1;
}

bool Store::listIds(int type, std::vector<std::string>* ids)
{
    ids->clear();
    if (!readable())
        return !db;
    Use use(statements[Ids]);
    sqlite3_bind_int(use.statement, 1, type);
    int status;
    while ((status = sqlite3_step(use.statement)) == SQLITE_ROW)
        ids->push_back(columnBytes(use.statement, 0));
    return status == SQLITE_DONE;
}

bool Store::listKeys(int type, const std::string& id, std::vector<std::string>* keys)
{
    keys->clear();
    if (!readable())
        return !db;
    return selectKeys(type, id, keys);
}

bool Store::selectKeys(int type, const std::string& id, std::vector<std::string>* keys)
{
    Use use(statements[Keys]);
    sqlite3_bind_int(use.statement, 1, type);
    bindText(use.statement, 2, id);
    keys->clear();
    int status;
    while ((status = sqlite3_step(use.statement)) == SQLITE_ROW)
        keys->push_back(columnBytes(use.statement, 0));
    return status == SQLITE_DONE;
}

// Brings the cache up to date with what other connections committed. False
// when that cannot be known.
bool Store::refresh()
{
    if (!readable())
        return false;
    // Only once SQLite has looked itself: the index is then open and mapped.
    unsigned char header[WalHeaderBytes];
    const bool headerRead = seenDataVersion >= 0 && readWalHeader(header);
    if (headerRead && walHeaderKnown && std::memcmp(header, seenWalHeader, WalHeaderBytes) == 0)
        return true;
    walHeaderKnown = false;
    Use use(statements[DataVersion]);
    if (sqlite3_step(use.statement) != SQLITE_ROW)
        return false;
    // Read before this look: a commit since then makes the next read look
    // again, never the other way round.
    if (headerRead) {
        std::memcpy(seenWalHeader, header, WalHeaderBytes);
        walHeaderKnown = true;
    }
    const int64_t version = sqlite3_column_int64(use.statement, 0);
    if (version == seenDataVersion)
        return true;
    const bool first = seenDataVersion < 0;
    seenDataVersion = version;
    readChanges(!first);
    return true;
}

// The WAL index (the "-shm" file SQLite maps in every connection) starts with
// two copies of its header; a commit writes the second, then the first, and
// counts itself in both. Read as SQLite's readers read it: the first copy,
// then the second, and only a pair that agrees. False when there is none to
// read or a writer is at it.
bool Store::readWalHeader(unsigned char* header)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods || file->pMethods->iVersion < 2 || !file->pMethods->xShmMap)
        return false;
    volatile void* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, 32 * 1024, 0, &region) != SQLITE_OK || !region)
        return false;
    const auto* copies = static_cast<const volatile unsigned char*>(region);
    for (size_t i = 0; i < WalHeaderBytes; ++i)
        header[i] = copies[i];
    file->pMethods->xShmBarrier(file);
    for (size_t i = 0; i < WalHeaderBytes; ++i) {
        if (copies[WalHeaderBytes + i] != header[i])
            return false;
    }
    return true;
}

void Store::readChanges(bool othersCommitted)
{
    int64_t newest = 0;
    {
        Use use(statements[MaxSeq]);
        if (sqlite3_step(use.statement) != SQLITE_ROW) {
            cache.clear();
            return;
        }
        newest = sqlite3_column_int64(use.statement, 0);
    }
    if (newest < lastSeq) {
        // The log went back: the database was replaced, or its log emptied.
        cache.clear();
        lastSeq = newest;
        return;
    }
    if (newest == lastSeq) {
        // A commit that left no entry: another program wrote to the database.
        if (othersCommitted)
            cache.clear();
        return;
    }
    Use use(statements[ChangesSince]);
    sqlite3_bind_int64(use.statement, 1, lastSeq);
    bool first = true;
    while (sqlite3_step(use.statement) == SQLITE_ROW) {
        const int64_t seq = sqlite3_column_int64(use.statement, 0);
        // Entries pruned before this process read them: drop the whole cache.
        if (first && seq != lastSeq + 1)
            cache.clear();
        first = false;
        lastSeq = seq;
        Change change{sqlite3_column_int(use.statement, 1), columnBytes(use.statement, 2),
                      columnBytes(use.statement, 3)};
        cache.erase(cacheKey(change.type, change.id, change.key));
        announce(std::move(change));
    }
}

void Store::announce(Change change)
{
    if (!hasRegistration(change.type, change.id))
        return;
    pending.push_back(std::move(change));
    scheduleDispatch();
}

bool Store::hasRegistration(int type, const std::string& id) const
{
    for (const Registration& r : registrations) {
        if (r.type == type && r.id == id)
            return true;
    }
    return false;
}

bool Store::addNotify(const void* owner, int type, const std::string& id, net_prefs_notify_func func,
                      void* userData)
{
    if (!notifyContext) {
        notifyContext = g_main_context_ref_thread_default();
        startWatching();
    }
    registrations.push_back(Registration{nextSerial++, owner, type, id, func, userData});
    return true;
}

// Watches the database's folder for the notify file's name, whatever file
// holds it; polls when the folder cannot be watched (yet). Writers of earlier
// versions rewrote the file instead of opening it: that wakes the watchers
// too.
void Store::startWatching()
{
    if (inotifyFd < 0)
        inotifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const uint32_t events = IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_ONLYDIR;
    const bool watched = inotifyFd >= 0 && inotify_add_watch(inotifyFd, folder.c_str(), events) >= 0;
    if (watchSource && watched == polling)
        return; // as it is
    if (watchSource) {
        g_source_destroy(watchSource);
        g_source_unref(watchSource);
    }
    polling = !watched;
    if (watched) {
        watchSource = g_unix_fd_source_new(inotifyFd, G_IO_IN);
        // A unix fd source calls its callback as a GUnixFDSourceFunc.
        g_source_set_callback(watchSource, G_SOURCE_FUNC(&Store::onWatch), this, nullptr);
    } else {
        watchSource = g_timeout_source_new(PollMilliseconds);
        g_source_set_callback(watchSource, &Store::onTimer, this, nullptr);
    }
    g_source_attach(watchSource, notifyContext);
}

void Store::delNotify(const void* owner)
{
    for (auto it = registrations.begin(); it != registrations.end();) {
        if (it->owner == owner)
            it = registrations.erase(it);
        else
            ++it;
    }
    if (registrations.empty())
        stopNotifying();
}

void Store::stopNotifying()
{
    pending.clear();
    for (GSource** source : {&watchSource, &idleSource}) {
        if (*source) {
            g_source_destroy(*source);
            g_source_unref(*source);
            *source = nullptr;
        }
    }
    if (inotifyFd >= 0) {
        close(inotifyFd);
        inotifyFd = -1;
    }
    if (notifyContext) {
        g_main_context_unref(notifyContext);
        notifyContext = nullptr;
    }
}

void Store::scheduleDispatch()
{
    if (dispatching || idleSource || !notifyContext)
        return;
    idleSource = g_idle_source_new();
    g_source_set_callback(idleSource, &Store::onIdle, this, nullptr);
    g_source_attach(idleSource, notifyContext);
}

void Store::dispatchPending()
{
    if (dispatching)
        return;
    dispatching = true;
    while (!pending.empty()) {
        const Change change = std::move(pending.front());
        pending.pop_front();
        // Callbacks may add or end registrations: each one is looked up again.
        std::vector<uint64_t> serials;
        for (const Registration& r : registrations) {
            if (r.type == change.type && r.id == change.id)
                serials.push_back(r.serial);
        }
        for (uint64_t serial : serials) {
            const Registration* registration = nullptr;
            for (const Registration& r : registrations) {
                if (r.serial == serial)
                    registration = &r;
            }
            if (!registration)
                continue;
            const net_prefs_notify_func func = registration->func;
            void* const userData = registration->userData;
            const StoredValue* value = lookup(change.type, change.id, change.key);
            net_prefs_value* record = value ? toValueRecord(*value) : nullptr;
            func(change.type, change.id.c_str(), change.key.c_str(), record, userData);
            destroyValueRecord(record);
        }
    }
    dispatching = false;
}

// True when an event concerns the notify file, or events were lost. The
// folder's other files come and go with every write, and are passed over.
bool Store::drainInotify()
{
    if (inotifyFd < 0)
        return false;
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        const ssize_t size = read(inotifyFd, buffer, sizeof buffer);
        if (size <= 0)
            break;
        for (ssize_t offset = 0; offset + ssize_t(sizeof(inotify_event)) <= size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            if (event->mask & IN_IGNORED)
                watchLost = true; // the folder went away
            if (event->mask & (IN_Q_OVERFLOW | IN_IGNORED))
                relevant = true;
            else if (event->len > 0 && notifyName == event->name)
                relevant = true;
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return relevant;
}

int Store::onWatch(int, unsigned, void* self)
{
    auto* store = static_cast<Store*>(self);
    store->ref();
    // The queue must be emptied whatever it holds, or the descriptor stays
    // readable.
    if (store->drainInotify() && !store->refresh())
        store->cache.clear();
    if (store->watchLost) {
        store->watchLost = false;
        store->startWatching();
    }
    store->dispatchPending();
    store->unref();
    return G_SOURCE_CONTINUE;
}

int Store::onTimer(void* self)
{
    auto* store = static_cast<Store*>(self);
    store->ref();
    if (!store->refresh())
        store->cache.clear();
    store->startWatching(); // the folder may have come since
    store->dispatchPending();
    store->unref();
    return G_SOURCE_CONTINUE;
}

int Store::onIdle(void* self)
{
    auto* store = static_cast<Store*>(self);
    g_source_unref(store->idleSource);
    store->idleSource = nullptr;
    store->ref();
    store->dispatchPending();
    store->unref();
    return G_SOURCE_REMOVE;
}

} // namespace netprefs

#include "store.h"

#include <glib-unix.h>
#include <glib.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace netprefs {

namespace {

// The change log keeps the last KeptChanges entries; a process that falls
// further behind drops its whole cache. Pruned every PruneEvery writes.
constexpr int64_t KeptChanges = 4096;
constexpr int64_t PruneEvery = 1024;
constexpr size_t MaxCacheEntries = 8192;
// "<database>-notify": a 64-bit write counter, then the byte that writers
// rewrite so that inotify wakes the watching processes.
constexpr off_t NotifyFileSize = 16;

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
    if (const char* path = std::getenv("NETPREFS_DB"); path && *path)
        return path;
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
    if (path.empty())
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
    return data ? std::string(static_cast<const char*>(data), size_t(size)) : std::string();
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
    if (!store->open()) {
        delete store;
        return nullptr;
    }
    stores[path] = store;
    return store;
}

Store::Store(const std::string& path)
    : path(path)
{
}

Store::~Store()
{
    stopNotifying();
    auto& stores = openStores();
    if (auto it = stores.find(path); it != stores.end() && it->second == this)
        stores.erase(it);
    for (sqlite3_stmt* statement : statements)
        sqlite3_finalize(statement);
    sqlite3_close(db);
    if (notifyFd >= 0)
        close(notifyFd);
    if (inotifyFd >= 0)
        close(inotifyFd);
    if (counter)
        munmap(counter, NotifyFileSize);
}

void Store::unref()
{
    if (--references == 0)
        delete this;
}

bool Store::open()
{
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && !makeFolder(path.substr(0, slash)))
        return false;
    // Created here, so that it is the owner's only; SQLite gives its journal
    // files the same mode.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    close(fd);

    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(db, 10000);

    sqlite3_stmt* mode = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &mode, nullptr) == SQLITE_OK
        && sqlite3_step(mode) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(mode, 0));
        wal = text && std::strcmp(text, "wal") == 0;
    }
    sqlite3_finalize(mode);
    if (!wal || sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db, Schema, nullptr, nullptr, nullptr) != SQLITE_OK || !prepare())
        return false;

    {
        Use use(statements[MaxSeq]);
        if (sqlite3_step(use.statement) != SQLITE_ROW)
            return false;
        lastSeq = sqlite3_column_int64(use.statement, 0);
    }
    return openWatch();
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

bool Store::openWatch()
{
    const std::string notifyPath = path + "-notify";
    notifyFd = ::open(notifyPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (notifyFd < 0)
        return false;
    // The first 8 bytes are the write counter, shared through the mapping.
    struct stat info;
    if (fstat(notifyFd, &info) == 0 && info.st_size < NotifyFileSize
        && ftruncate(notifyFd, NotifyFileSize) != 0)
        info.st_size = 0;
    void* mapping = mmap(nullptr, NotifyFileSize, PROT_READ | PROT_WRITE, MAP_SHARED, notifyFd, 0);
    if (mapping != MAP_FAILED) {
        counter = static_cast<uint64_t*>(mapping);
        seenCounter = __atomic_load_n(counter, __ATOMIC_ACQUIRE);
    }
    inotifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotifyFd >= 0 && inotify_add_watch(inotifyFd, notifyPath.c_str(), IN_MODIFY) < 0) {
        close(inotifyFd);
        inotifyFd = -1;
    }
    // Without the counter and inotify there is no cache, and changes are
    // polled for.
    return true;
}

bool Store::caching() const
{
    return counter || inotifyFd >= 0;
}

void Store::touchNotifyFile()
{
    if (counter)
        __atomic_add_fetch(counter, 1, __ATOMIC_SEQ_CST);
    // The write itself is what inotify reports to watching processes.
    const char byte = 0;
    if (pwrite(notifyFd, &byte, 1, NotifyFileSize - 1) < 0)
        g_warning("netprefs: cannot touch %s-notify: %s", path.c_str(), std::strerror(errno));
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
    if (!caching())
        return;
    if (cache.size() >= MaxCacheEntries)
        cache.clear();
    cache[key] = value;
}

const StoredValue* Store::get(int type, const std::string& id, const std::string& key)
{
    processEvents();
    return lookup(type, id, key);
}

const StoredValue* Store::lookup(int type, const std::string& id, const std::string& key)
{
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
        value.kind = sqlite3_column_int(use.statement, 0);
        switch (value.kind) {
        case NET_PREFS_VALUE_INT:
        case NET_PREFS_VALUE_BOOL:
            value.integer = sqlite3_column_int64(use.statement, 1);
            break;
        case NET_PREFS_VALUE_DOUBLE:
            value.real = sqlite3_column_double(use.statement, 1);
            break;
        default:
            value.bytes = columnBytes(use.statement, 1);
            break;
        }
    } else if (status != SQLITE_DONE) {
        return nullptr;
    }
    if (!caching()) {
        uncached = std::move(value);
        return &uncached;
    }
    cacheStore(k, value);
    return &cache.find(k)->second;
}

bool Store::begin()
{
    Use use(statements[Begin]);
    return sqlite3_step(use.statement) == SQLITE_DONE;
}

// Commits when every step went well, else (or when the commit fails) rolls
// the transaction back. True when committed.
bool Store::commitOrRollback(bool ok)
{
    if (ok) {
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
    if (ok && changed) {
        Use use(statements[Log]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        bindText(use.statement, 3, key);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
        seq = sqlite3_last_insert_rowid(db);
    }
    if (ok && seq > 0 && seq % PruneEvery == 0) {
        Use use(statements[Prune]);
        sqlite3_bind_int64(use.statement, 1, seq - KeptChanges);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
    }

    if (!commitOrRollback(ok))
        return NET_PREFS_ERROR_STORE;
    if (changed) {
        ownSeqs.insert(seq);
        cacheStore(cacheKey(type, id, key), value);
        touchNotifyFile();
    }
    return NET_PREFS_OK;
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
    bool ok = listKeys(type, id, &keys);
    {
        Use use(statements[DeleteRecord]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        ok = ok && sqlite3_step(use.statement) == SQLITE_DONE;
    }
    std::vector<int64_t> seqs;
    for (const std::string& key : keys) {
        if (!ok)
            break;
        Use use(statements[Log]);
        sqlite3_bind_int(use.statement, 1, type);
        bindText(use.statement, 2, id);
        bindText(use.statement, 3, key);
        ok = sqlite3_step(use.statement) == SQLITE_DONE;
        seqs.push_back(sqlite3_last_insert_rowid(db));
    }
    if (!commitOrRollback(ok))
        return NET_PREFS_ERROR_STORE;
    for (size_t i = 0; i < keys.size(); ++i) {
        ownSeqs.insert(seqs[i]);
        cacheStore(cacheKey(type, id, keys[i]), StoredValue());
    }
    touchNotifyFile();
    return NET_PREFS_OK;
}

int Store::idExists(int type, const std::string& id)
{
    Use use(statements[Exists]);
    sqlite3_bind_int(use.statement, 1, type);
    bindText(use.statement, 2, id);
    const int status = sqlite3_step(use.statement);
    return status == SQLITE_ROW ? 1 : status == SQLITE_DONE ? 0 : -1;
}

bool Store::listIds(int type, std::vector<std::string>* ids)
{
    Use use(statements[Ids]);
    sqlite3_bind_int(use.statement, 1, type);
    ids->clear();
    int status;
    while ((status = sqlite3_step(use.statement)) == SQLITE_ROW)
        ids->push_back(columnBytes(use.statement, 0));
    return status == SQLITE_DONE;
}

bool Store::listKeys(int type, const std::string& id, std::vector<std::string>* keys)
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

void Store::processEvents()
{
    if (counter) {
        // The common case costs one load from shared memory: nothing written.
        const uint64_t now = __atomic_load_n(counter, __ATOMIC_ACQUIRE);
        if (now == seenCounter)
            return;
        seenCounter = now;
        drainInotify(); // keeps its queue short
        readChanges();
        return;
    }
    if (inotifyFd < 0 || drainInotify())
        readChanges();
}

bool Store::drainInotify()
{
    if (inotifyFd < 0)
        return false;
    alignas(inotify_event) char buffer[4096];
    bool written = false;
    for (;;) {
        const ssize_t size = read(inotifyFd, buffer, sizeof buffer);
        if (size <= 0)
            break;
        written = true;
        for (ssize_t offset = 0; offset < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            // Missed events, or a notify file that went away: trust nothing cached.
            if (event->mask & (IN_Q_OVERFLOW | IN_IGNORED)) {
                cache.clear();
                if (event->mask & IN_IGNORED)
                    inotify_add_watch(inotifyFd, (path + "-notify").c_str(), IN_MODIFY);
            }
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return written;
}

void Store::readChanges()
{
    Use use(statements[ChangesSince]);
    sqlite3_bind_int64(use.statement, 1, lastSeq);
    bool first = true;
    while (sqlite3_step(use.statement) == SQLITE_ROW) {
        const int64_t seq = sqlite3_column_int64(use.statement, 0);
        // Entries pruned before this process read them: drop the whole cache.
        if (first && seq > lastSeq + 1 && lastSeq > 0)
            cache.clear();
        first = false;
        lastSeq = seq;
        Change change{sqlite3_column_int(use.statement, 1), columnBytes(use.statement, 2),
                      columnBytes(use.statement, 3)};
        // This process's own writes are in the cache already.
        if (ownSeqs.erase(seq) == 0)
            cache.erase(cacheKey(change.type, change.id, change.key));
        if (hasRegistration(change.type, change.id))
            pending.push_back(std::move(change));
    }
    if (!pending.empty())
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
        if (inotifyFd >= 0) {
            watchSource = g_unix_fd_source_new(inotifyFd, G_IO_IN);
            g_source_set_callback(watchSource, reinterpret_cast<GSourceFunc>(&Store::onWatch), this,
                                  nullptr);
        } else {
            watchSource = g_timeout_source_new(50);
            g_source_set_callback(watchSource, &Store::onTimer, this, nullptr);
        }
        g_source_attach(watchSource, notifyContext);
    }
    registrations.push_back(Registration{nextSerial++, owner, type, id, func, userData});
    return true;
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

int Store::onWatch(int, unsigned, void* self)
{
    auto* store = static_cast<Store*>(self);
    store->ref();
    // Whatever get() has handled already, the queue must be emptied, or the
    // descriptor stays readable.
    const bool written = store->drainInotify();
    if (store->counter)
        store->processEvents();
    else if (written || store->inotifyFd < 0)
        store->readChanges();
    store->dispatchPending();
    store->unref();
    return G_SOURCE_CONTINUE;
}

int Store::onTimer(void* self)
{
    return onWatch(-1, 0, self);
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

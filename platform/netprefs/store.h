// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef NETPREFS_STORE_H
#define NETPREFS_STORE_H

#include "netprefs.h"
#include "storedvalue.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
typedef struct _GMainContext GMainContext;
typedef struct _GSource GSource;

namespace netprefs {

// One database, shared by every handle of the process on it.
//
// Reads are served from a cache of values. Every committed write appends its
// (type, id, key) to the `changes` table in the same transaction. Before
// answering from the cache, a read asks SQLite whether any other connection
// committed since it last looked (PRAGMA data_version) and, if so, reads the
// new part of the change log and drops the changed values from the cache; a
// commit without a log entry, or a log with entries missing, drops the whole
// cache. So a read sees every value committed before it, by any process,
// whatever became of the writer after its commit. Asking SQLite costs a read
// transaction, and so file locks: a read first compares the header of the
// WAL index, which every commit changes, with the one it saw before it last
// asked, and asks only when the two differ.
//
// After its commit a writer opens the file "<database>-notify" (for reading,
// without following links, and never writes it); inotify reports the opening
// to the processes watching the database's folder, which then check for
// changes as a read does, and the same log entries drive the change
// callbacks. Readers never open the file.
//
// Nothing is created until the first write: a store whose database does not
// exist yet reads as empty.
class Store
{
public:
    // The store of the database that NETPREFS_DB, or the default path, names;
    // null when it exists but cannot be opened. Each call takes a reference.
    static Store* acquire();
    void ref() { ++references; }
    void unref();

    // The value under the key (none when it has none), valid until the next
    // call into the store; null when the database cannot be read.
    const StoredValue* get(int type, const std::string& id, const std::string& key);
    // Stores `value`, or removes the key's value when it is none.
    int write(int type, const std::string& id, const std::string& key, const StoredValue& value);
    int removeRecord(int type, const std::string& id);
    // 1, 0, or -1 when the database cannot be read.
    int idExists(int type, const std::string& id);
    bool listIds(int type, std::vector<std::string>* ids);
    bool listKeys(int type, const std::string& id, std::vector<std::string>* keys);

    bool addNotify(const void* owner, int type, const std::string& id, net_prefs_notify_func func,
                   void* userData);
    void delNotify(const void* owner);

private:
    struct Change
    {
        int type;
        std::string id;
        std::string key;
    };
    struct Registration
    {
        uint64_t serial;
        const void* owner;
        int type;
        std::string id;
        net_prefs_notify_func func;
        void* userData;
    };
    enum Statement {
        Get, Upsert, DeleteKey, DeleteRecord, Keys, Ids, Exists, Log, Prune, ChangesSince, MaxSeq,
        DataVersion, Begin, Commit, Rollback, StatementCount
    };
    enum class Presence { Open, Absent, Broken };

    explicit Store(const std::string& path);
    ~Store();
    Presence openDatabase(bool create);
    void closeDatabase();
    bool prepare();
    bool readable();
    void touchNotifyFile();
    bool begin();
    bool commitOrRollback(bool ok);
    // Appends one change to the log; @p seq gets its sequence number.
    bool logChange(int type, const std::string& id, const std::string& key, int64_t* seq);
    bool selectKeys(int type, const std::string& id, std::vector<std::string>* keys);

    const StoredValue* lookup(int type, const std::string& id, const std::string& key);
    bool refresh();
    bool readWalHeader(unsigned char* header);
    void readChanges(bool othersCommitted);
    void announce(Change change);
    bool hasRegistration(int type, const std::string& id) const;
    void dispatchPending();
    void scheduleDispatch();
    void startWatching();
    void stopNotifying();
    bool drainInotify();
    static int onWatch(int fd, unsigned condition, void* self);
    static int onTimer(void* self);
    static int onIdle(void* self);

    const std::string& cacheKey(int type, const std::string& id, const std::string& key);
    void cacheStore(const std::string& key, const StoredValue& value);

    std::string path;
    std::string folder;
    std::string notifyName; // of the notify file, in `folder`
    int references = 1;
    sqlite3* db = nullptr;
    sqlite3_stmt* statements[StatementCount] = {};
    bool warnedNotify = false;

    int64_t seenDataVersion = -1;
    // The WAL index's header as it was before the last look, when known.
    static constexpr size_t WalHeaderBytes = 48;
    unsigned char seenWalHeader[WalHeaderBytes] = {};
    bool walHeaderKnown = false;
    int64_t lastSeq = 0;
    std::unordered_map<std::string, StoredValue> cache;
    std::string keyBuffer;
    StoredValue uncached; // the last value read when it is not cached

    std::vector<Registration> registrations;
    uint64_t nextSerial = 1;
    std::deque<Change> pending;
    bool dispatching = false;
    GMainContext* notifyContext = nullptr;
    int inotifyFd = -1;
    GSource* watchSource = nullptr;
    bool polling = false;   // watchSource is a timer
    bool watchLost = false; // the folder's watch ended
    GSource* idleSource = nullptr;
};

} // namespace netprefs

#endif

#ifndef NETPREFS_STORE_H
#define NETPREFS_STORE_H

#include "netprefs.h"
#include "storedvalue.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
typedef struct _GMainContext GMainContext;
typedef struct _GSource GSource;

namespace netprefs {

// One open database, shared by every handle of the process on it.
//
// Reads are served from a cache of values. Every committed write appends
// its (type, id, key) to the `changes` table in the same transaction; after
// the commit it increments a counter in the shared mapping of the file
// "<database>-notify" and rewrites a byte of that file, which inotify reports
// to every watching process. Before answering from the cache, a read compares
// the counter with the last one it saw and, if anything was written since,
// reads the new part of the change log and drops the changed values from the
// cache: so it sees every value committed before it, by any process, at the
// cost of one load from shared memory when nothing changed. The same log
// entries drive the change callbacks.
class Store
{
public:
    // The store of the database that NETPREFS_DB, or the default path, names;
    // null when it cannot be opened. Each call takes a reference.
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
        Begin, Commit, Rollback, StatementCount
    };

    explicit Store(const std::string& path);
    ~Store();
    bool open();
    bool prepare();
    bool openWatch();
    void touchNotifyFile();
    bool begin();
    bool commitOrRollback(bool ok);
    bool caching() const;
    bool drainInotify();

    const StoredValue* lookup(int type, const std::string& id, const std::string& key);
    void processEvents();
    void readChanges();
    bool hasRegistration(int type, const std::string& id) const;
    void dispatchPending();
    void scheduleDispatch();
    void stopNotifying();
    static int onWatch(int fd, unsigned condition, void* self);
    static int onTimer(void* self);
    static int onIdle(void* self);

    const std::string& cacheKey(int type, const std::string& id, const std::string& key);
    void cacheStore(const std::string& key, const StoredValue& value);

    std::string path;
    int references = 1;
    sqlite3* db = nullptr;
    sqlite3_stmt* statements[StatementCount] = {};

    int notifyFd = -1;
    uint64_t* counter = nullptr; // in the shared mapping of the notify file
    uint64_t seenCounter = 0;
    int inotifyFd = -1;
    int64_t lastSeq = 0;
    std::unordered_set<int64_t> ownSeqs;
    std::unordered_map<std::string, StoredValue> cache;
    std::string keyBuffer;
    StoredValue uncached; // the last value read when there is no cache

    std::vector<Registration> registrations;
    uint64_t nextSerial = 1;
    std::deque<Change> pending;
    bool dispatching = false;
    GMainContext* notifyContext = nullptr;
    GSource* watchSource = nullptr;
    GSource* idleSource = nullptr;
};

} // namespace netprefs

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/mimetyperesolver.h>

#include "content/mimetyperesolver_p.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <bitset>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Pavane {

namespace {

const QString OctetStream = QStringLiteral("application/octet-stream");

// The real glob file is some 50 KiB. Reading stops here: a file that never
// ends ("/dev/zero") must not take the host's memory with it.
const qint64 MaxGlobFileSize = 16 << 20;
// Longer globs are no rules: no file name is as long, and a pattern is
// matched in time proportional to its length times the name's.
const int MaxGlobSize = 1024;

// One case rule for every comparison, on the first lookup and in the cache
// alike: ASCII letters match in either case, any other character only
// itself. Folding beyond ASCII would let a KELVIN SIGN pass for a "k".
inline ushort folded(ushort c)
{
    return c >= 'A' && c <= 'Z' ? ushort(c + ('a' - 'A')) : c;
}

inline bool sameCharacter(ushort a, ushort b, bool caseSensitive)
{
    return a == b || (!caseSensitive && folded(a) == folded(b));
}

QString foldedString(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = QChar(folded(c.unicode()));
    return result;
}

// A glob of the glob file, its bytes taken as Latin-1: "*" stands for any
// run of characters, "?" for any one, "[...]" for one of a set ("[^...]" for
// one outside it, "a-z" a range, a "]" first in the set for itself); every
// other character, backslash included, for itself. A "[" without its "]"
// spoils the glob: it matches nothing.
class Glob
{
public:
    Glob(const char* text, int size)
        : text(reinterpret_cast<const uchar*>(text))
        , size(size)
    {
    }

    bool isValid() const
    {
        for (int i = 0; i < size; ++i) {
            if (text[i] == '[' && (i = setEnd(i)) < 0)
                return false;
        }
        return true;
    }

    // Matches the whole of @p name. Each token but "*" takes one character,
    // so one remembered "*" is enough to backtrack to: the time is at most
    // the glob's length times the name's. The glob must be valid.
    bool matches(const QChar* name, int nameSize, bool caseSensitive) const
    {
        int g = 0;
        int n = 0;
        int starGlob = -1;
        int starName = 0;
        while (n < nameSize) {
            if (g < size && text[g] == '*') {
                starGlob = ++g;
                starName = n;
                continue;
            }
            if (g < size) {
                const int next = tokenEnd(g);
                if (tokenMatches(g, name[n].unicode(), caseSensitive)) {
                    g = next;
                    ++n;
                    continue;
                }
            }
            if (starGlob < 0)
                return false;
            g = starGlob;
            n = ++starName;
        }
        while (g < size && text[g] == '*')
            ++g;
        return g == size;
    }

private:
    // The index of the "]" that closes the set opening at @p open, or -1.
    int setEnd(int open) const
    {
        int i = open + 1;
        if (i < size && text[i] == '^')
            ++i;
        if (i < size && text[i] == ']')
            ++i;
        while (i < size && text[i] != ']')
            ++i;
        return i < size ? i : -1;
    }

    int tokenEnd(int g) const { return text[g] == '[' ? setEnd(g) + 1 : g + 1; }

    bool tokenMatches(int g, ushort c, bool caseSensitive) const
    {
        switch (text[g]) {
        case '?':
            return true;
        case '[':
            break;
        default:
            return sameCharacter(text[g], c, caseSensitive);
        }
        int i = g + 1;
        const bool negated = text[i] == '^';
        if (negated)
            ++i;
        const int end = setEnd(g);
        bool found = false;
        while (i < end && !found) {
            const ushort from = text[i];
            ushort to = from;
            if (i + 2 < end && text[i + 1] == '-') {
                to = text[i + 2];
                i += 3;
            } else {
                ++i;
            }
            found = inRange(c, from, to, caseSensitive);
        }
        return found != negated;
    }

    static bool inRange(ushort c, ushort from, ushort to, bool caseSensitive)
    {
        if (from <= c && c <= to)
            return true;
        if (caseSensitive)
            return false;
        // The other case of an ASCII letter, and nothing else.
        const ushort other = c >= 'a' && c <= 'z' ? ushort(c - ('a' - 'A')) : folded(c);
        return other != c && from <= other && other <= to;
    }

    const uchar* text;
    int size;
};

// How a glob is looked up, in the cache and in the glob file's index: almost
// every rule is a literal name ("makefile") or "*" and a literal suffix
// ("*.pdf", "*~"), which a hash finds at once; only the rest ("*.[1-9]",
// "README*") is tried in turn.
enum class Kind : quint8 { Literal, Suffix, Pattern };

bool hasWildcard(const char* data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (data[i] == '*' || data[i] == '?' || data[i] == '[')
            return true;
    }
    return false;
}

Kind kindOf(const char* glob, int size)
{
    if (!hasWildcard(glob, size))
        return Kind::Literal;
    if (glob[0] == '*' && !hasWildcard(glob + 1, size - 1))
        return Kind::Suffix;
    return Kind::Pattern;
}

// A file name, in the forms the cache needs.
struct Name
{
    explicit Name(const QString& name)
        : text(name)
        , folded(foldedString(name))
    {
    }
    QString text;
    QString folded;
};

// The types found so far, by the glob that gave them.
class GlobCache
{
public:
    bool isEmpty() const { return empty; }

    void insert(const QByteArray& glob, bool caseSensitive, const QString& mimeType)
    {
        empty = false;
        const QString key = QString::fromLatin1(glob);
        switch (kindOf(glob.constData(), glob.size())) {
        case Kind::Literal:
            (caseSensitive ? literalsCs : literals).insert(caseSensitive ? key : foldedString(key), mimeType);
            break;
        case Kind::Suffix: {
            const QString suffix = key.mid(1);
            (caseSensitive ? suffixesCs : suffixes).insert(caseSensitive ? suffix : foldedString(suffix), mimeType);
            if (!suffixLengths.contains(suffix.size()))
                suffixLengths.append(suffix.size());
            break;
        }
        case Kind::Pattern:
            patterns.append({glob, caseSensitive, mimeType});
            break;
        }
    }

    QString find(const Name& name) const
    {
        if (const auto it = literals.constFind(name.folded); it != literals.constEnd())
            return it.value();
        if (const auto it = literalsCs.constFind(name.text); it != literalsCs.constEnd())
            return it.value();
        for (const int length : suffixLengths) {
            if (length > name.text.size())
                continue;
            if (const auto it = suffixes.constFind(name.folded.right(length)); it != suffixes.constEnd())
                return it.value();
            if (!suffixesCs.isEmpty()) {
                if (const auto it = suffixesCs.constFind(name.text.right(length)); it != suffixesCs.constEnd())
                    return it.value();
            }
        }
        for (const Pattern& pattern : patterns) {
            if (Glob(pattern.glob.constData(), pattern.glob.size())
                    .matches(name.text.constData(), name.text.size(), pattern.caseSensitive))
                return pattern.mimeType;
        }
        return QString();
    }

private:
    struct Pattern
    {
        QByteArray glob;
        bool caseSensitive;
        QString mimeType;
    };

    bool empty = true;
    QHash<QString, QString> literals;
    QHash<QString, QString> literalsCs;
    QHash<QString, QString> suffixes;
    QHash<QString, QString> suffixesCs;
    QVector<int> suffixLengths;
    QVector<Pattern> patterns;
};

// One rule of the glob file.
struct Rule
{
    const char* mimeType = nullptr;
    int mimeTypeSize = 0;
    const char* glob = nullptr; // null: no rule on this line
    int globSize = 0;
    bool caseSensitive = false;
};

// One rule per line: weight:type:glob, or weight:type:glob:flags; the
// weight is not read. Comments, empty lines, lines of one field and rules
// without a type or with a glob that cannot match hold no rule. With a flags
// field the glob is the third field, and "cs" makes it case-sensitive; the
// flags themselves are no glob.
Rule parseRule(const char* line, const char* end)
{
    Rule rule;
    if (line == end || *line == '#')
        return rule;
    const char* fields[4] = {line, nullptr, nullptr, nullptr};
    int count = 1;
    for (const char* c = line; count < 4; ++count) {
        c = static_cast<const char*>(std::memchr(c, ':', size_t(end - c)));
        if (!c)
            break;
        fields[count] = ++c;
    }
    if (count < 2)
        return rule;
    auto fieldEnd = [&](int i) { return i + 1 < count ? fields[i + 1] - 1 : end; };
    const int globField = count >= 4 ? 2 : count - 1;
    const int mimeTypeSize = int(fieldEnd(1) - fields[1]);
    const int globSize = int(fieldEnd(globField) - fields[globField]);
    if (mimeTypeSize == 0 || globSize > MaxGlobSize || !Glob(fields[globField], globSize).isValid())
        return rule;
    rule.mimeType = fields[1];
    rule.mimeTypeSize = mimeTypeSize;
    rule.glob = fields[globField];
    rule.globSize = globSize;
    if (count >= 4) {
        const QByteArray flags(fields[3], int(end - fields[3]));
        rule.caseSensitive = flags.split(',').contains("cs");
    }
    return rule;
}

bool matchesLiterally(const char* glob, int size, const QChar* name, bool caseSensitive)
{
    for (int i = 0; i < size; ++i) {
        if (!sameCharacter(uchar(glob[i]), name[i].unicode(), caseSensitive))
            return false;
    }
    return true;
}

bool ruleMatches(const Rule& rule, const QString& name)
{
    const int size = rule.globSize;
    switch (kindOf(rule.glob, size)) {
    case Kind::Literal:
        return size == name.size() && matchesLiterally(rule.glob, size, name.constData(), rule.caseSensitive);
    case Kind::Suffix:
        return size - 1 <= name.size()
            && matchesLiterally(rule.glob + 1, size - 1, name.constData() + name.size() - (size - 1), rule.caseSensitive);
    case Kind::Pattern:
        break;
    }
    return Glob(rule.glob, size).matches(name.constData(), name.size(), rule.caseSensitive);
}

// The first rule that matches @p name in the lines from @p begin: the whole
// lines before @p end, and at @p atEnd the last one without its newline too.
// Sets @p consumed past the lines it tried.
bool firstMatchingLine(const char* begin, const char* end, bool atEnd, const QString& name, Rule* found,
                       const char** consumed)
{
    const char* line = begin;
    while (line < end) {
        const char* next = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
        if (!next && !atEnd)
            break;
        const char* lineEnd = next ? next : end;
        if (lineEnd > line && lineEnd[-1] == '\r')
            --lineEnd;
        const Rule rule = parseRule(line, lineEnd);
        line = next ? next + 1 : end;
        if (rule.glob && ruleMatches(rule, name)) {
            *found = rule;
            return true;
        }
    }
    *consumed = line;
    return false;
}

inline ushort codeOf(QChar c)
{
    return c.unicode();
}

inline ushort codeOf(uchar c)
{
    return c;
}

// Keys are hashed from their last character back, so that one pass over a
// name hashes every suffix of it.
constexpr quint32 HashSeed = 2166136261u;

inline quint32 hashStep(quint32 hash, ushort c)
{
    return (hash ^ c) * 16777619u;
}

inline quint32 keyHash(quint32 hash, Kind kind, bool caseSensitive)
{
    hash ^= (quint32(kind) * 2 + quint32(caseSensitive) + 1) * 0x9e3779b9u;
    hash ^= hash >> 15;
    hash *= 0x85ebca6bu;
    return hash ^ (hash >> 13);
}

// The glob file, parsed once. A literal name or "*" and a literal suffix
// (nearly every rule) is found by hash; the few real patterns are tried in
// file order, and only while they stand before the best rule found so far.
// Every way gives the first matching rule in file order, as a scan would.
class GlobIndex
{
public:
    explicit GlobIndex(const QByteArray& globs)
        : content(globs)
    {
        const char* const begin = content.constData();
        const char* const end = begin + content.size();
        int keyed = 0;
        rules.reserve(content.size() / 24); // the usual line's length
        for (const char* line = begin; line < end;) {
            const char* next = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
            const char* lineEnd = next ? next : end;
            if (lineEnd > line && lineEnd[-1] == '\r')
                --lineEnd;
            const Rule rule = parseRule(line, lineEnd);
            if (rule.glob) {
                const Kind kind = kindOf(rule.glob, rule.globSize);
                rules.append({int(rule.glob - begin), int(rule.mimeType - begin), quint16(rule.globSize), kind,
                              rule.caseSensitive});
                if (kind == Kind::Pattern)
                    patterns.append(rules.size() - 1);
                else
                    ++keyed;
            }
            line = next ? next + 1 : end;
        }
        // At most two thirds full: short probes, and few pages to touch.
        int capacity = 16;
        while (capacity < keyed + keyed / 2)
            capacity *= 2;
        table.fill(-1, capacity);
        mask = quint32(capacity - 1);
        for (int i = 0; i < rules.size(); ++i) {
            if (rules.at(i).kind != Kind::Pattern)
                insert(i);
        }
    }

    // The first rule in file order that matches @p name, or -1.
    int firstMatch(const QString& name) const
    {
        const QChar* const chars = name.constData();
        const int size = name.size();
        int best = NoRule;
        quint32 foldedHash = HashSeed;
        quint32 exactHash = HashSeed;
        const int reach = qMin(size, longestKey);
        int length = 0;
        for (;;) {
            const QChar* suffix = chars + size - length;
            if (hasLength(Kind::Suffix, false, length))
                best = qMin(best, find(keyHash(foldedHash, Kind::Suffix, false), Kind::Suffix, false, suffix, length));
            if (hasLength(Kind::Suffix, true, length))
                best = qMin(best, find(keyHash(exactHash, Kind::Suffix, true), Kind::Suffix, true, suffix, length));
            if (length == reach)
                break;
            const ushort c = chars[size - 1 - length].unicode();
            if (c > 0xff) // no byte of the file spells it
                break;
            foldedHash = hashStep(foldedHash, folded(c));
            exactHash = hashStep(exactHash, c);
            ++length;
        }
        if (length == size) {
            if (hasLength(Kind::Literal, false, size))
                best = qMin(best, find(keyHash(foldedHash, Kind::Literal, false), Kind::Literal, false, chars, size));
            if (hasLength(Kind::Literal, true, size))
                best = qMin(best, find(keyHash(exactHash, Kind::Literal, true), Kind::Literal, true, chars, size));
        }
        for (const int i : patterns) {
            if (i > best)
                break;
            const Entry& rule = rules.at(i);
            if (Glob(content.constData() + rule.glob, rule.globSize).matches(chars, size, rule.caseSensitive)) {
                best = i;
                break;
            }
        }
        return best == NoRule ? -1 : best;
    }

    QByteArray glob(int i) const { return content.mid(rules.at(i).glob, rules.at(i).globSize); }
    bool caseSensitive(int i) const { return rules.at(i).caseSensitive; }
    QString mimeType(int i) const
    {
        return QString::fromLatin1(content.constData() + rules.at(i).mimeType, rules.at(i).mimeTypeSize());
    }

private:
    static constexpr int NoRule = std::numeric_limits<int>::max();

    // Small, since a fresh process pays for every page it touches. The
    // type is the field before the glob, or the glob itself in a line of
    // two fields.
    struct Entry
    {
        int glob;
        int mimeType;
        quint16 globSize;
        Kind kind;
        bool caseSensitive;

        int mimeTypeSize() const { return mimeType == glob ? globSize : glob - 1 - mimeType; }
    };

    // What is looked up: a literal glob whole, a suffix glob without its "*".
    const uchar* keyOf(const Entry& rule) const
    {
        return reinterpret_cast<const uchar*>(content.constData()) + rule.glob + (rule.kind == Kind::Suffix ? 1 : 0);
    }
    static int keySize(const Entry& rule) { return rule.kind == Kind::Suffix ? rule.globSize - 1 : rule.globSize; }
    static int lengthSet(Kind kind, bool caseSensitive) { return (kind == Kind::Suffix ? 2 : 0) + (caseSensitive ? 1 : 0); }
    bool hasLength(Kind kind, bool caseSensitive, int length) const
    {
        return lengths[lengthSet(kind, caseSensitive)].test(size_t(length));
    }

    template<typename SameKey>
    int probe(quint32 hash, const SameKey& sameKey) const
    {
        for (quint32 i = hash & mask; table.at(int(i)) >= 0; i = (i + 1) & mask) {
            const int rule = table.at(int(i));
            if (sameKey(rules.at(rule)))
                return rule;
        }
        return NoRule;
    }

    // The rule keyed by the @p size characters at @p key (QChars of
    // Latin-1, or bytes), or NoRule.
    template<typename Character>
    int find(quint32 hash, Kind kind, bool caseSensitive, const Character* key, int size) const
    {
        return probe(hash, [&](const Entry& rule) {
            if (rule.kind != kind || rule.caseSensitive != caseSensitive || keySize(rule) != size)
                return false;
            const uchar* bytes = keyOf(rule);
            for (int i = 0; i < size; ++i) {
                if (!sameCharacter(bytes[i], codeOf(key[i]), caseSensitive))
                    return false;
            }
            return true;
        });
    }

    // Keeps the first of the rules with the same key: no later one can win.
    void insert(int i)
    {
        const Entry& rule = rules.at(i);
        const uchar* key = keyOf(rule);
        const int size = keySize(rule);
        quint32 hash = HashSeed;
        for (int k = size - 1; k >= 0; --k)
            hash = hashStep(hash, rule.caseSensitive ? key[k] : folded(key[k]));
        hash = keyHash(hash, rule.kind, rule.caseSensitive);
        if (find(hash, rule.kind, rule.caseSensitive, key, size) != NoRule)
            return;
        quint32 slot = hash & mask;
        while (table.at(int(slot)) >= 0)
            slot = (slot + 1) & mask;
        table[int(slot)] = i;
        lengths[lengthSet(rule.kind, rule.caseSensitive)].set(size_t(size));
        longestKey = qMax(longestKey, size);
    }

    QByteArray content;
    QVector<Entry> rules;
    QVector<int> patterns;
    QVector<int> table; // rules by key, -1 for none
    quint32 mask = 0;
    // The key lengths that occur, by kind and case rule: most lengths have
    // no rule, and need no look-up.
    std::bitset<MaxGlobSize + 1> lengths[4];
    int longestKey = 0;
};

// What tells one version of the glob file from another without reading it:
// a rewrite changes the size or the times, a replacement by rename the inode.
struct FileStamp
{
    explicit FileStamp(const struct stat& info)
        : device(info.st_dev)
        , inode(info.st_ino)
        , size(info.st_size)
        , modified(info.st_mtim)
        , changed(info.st_ctim)
    {
    }

    bool operator==(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode && size == other.size && sameTime(modified, other.modified)
            && sameTime(changed, other.changed);
    }

    static bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;
};

// Reads at most MaxGlobFileSize bytes of the regular file open at @p fd.
// The stamp is set only when the file was read whole and its stamp can
// tell a change: files of the kernel's that claim to be empty cannot.
bool readRegularFile(int fd, QByteArray* content, std::optional<FileStamp>* stamp)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return false;
    content->resize(int(qBound<off_t>(0, info.st_size, MaxGlobFileSize - 1) + 1));
    int used = 0;
    bool whole = false;
    while (used < MaxGlobFileSize) {
        if (used == content->size())
            content->resize(int(qMin<qint64>(MaxGlobFileSize, 2 * qint64(used))));
        const ssize_t got = ::read(fd, content->data() + used, size_t(content->size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        used += int(got);
    }
    content->resize(used);
    if (whole && S_ISREG(info.st_mode) && info.st_size > 0 && info.st_size == used)
        *stamp = FileStamp(info);
    return true;
}

struct Resolver
{
    QByteArray globFile = QByteArrayLiteral("/usr/share/mime/globs2");
    // Set by a test hook instead of the file.
    QByteArray globContent;
    bool globsInMemory = false;
    // What the glob file held when it was last read, and how it looked.
    std::unique_ptr<GlobIndex> index;
    std::optional<FileStamp> indexStamp;
    // The first miss reads the file as it goes, through a buffer on the
    // stack, and stops at the first match: a process that asks once never
    // builds the index, and touches few pages of memory. Later misses use
    // the index.
    bool scanned = false;
    GlobCache cache;

    enum class Scan { Matched, NoMatch, Unreadable, Undecided };

    Scan scanGlobs(const QString& name, QString* mimeType)
    {
        Rule rule;
        const char* consumed = nullptr;
        if (globsInMemory) {
            const char* begin = globContent.constData();
            if (!firstMatchingLine(begin, begin + globContent.size(), true, name, &rule, &consumed))
                return Scan::NoMatch;
            return matched(rule, mimeType);
        }
        struct stat info;
        if (::stat(globFile.constData(), &info) != 0 || S_ISDIR(info.st_mode))
            return Scan::Unreadable;
        if (!S_ISREG(info.st_mode))
            return Scan::Undecided;
        const int fd = ::open(globFile.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return Scan::Unreadable;
        char buffer[4096];
        int kept = 0;
        qint64 total = 0;
        Scan outcome = Scan::NoMatch;
        for (;;) {
            const qint64 room = qMin<qint64>(qint64(sizeof buffer) - kept, MaxGlobFileSize - total);
            const ssize_t got = room > 0 ? ::read(fd, buffer + kept, size_t(room)) : 0;
            if (got < 0 && errno == EINTR)
                continue;
            const bool atEnd = got <= 0;
            total += qMax<ssize_t>(got, 0);
            const char* const end = buffer + kept + qMax<ssize_t>(got, 0);
            if (firstMatchingLine(buffer, end, atEnd, name, &rule, &consumed)) {
                outcome = matched(rule, mimeType);
                break;
            }
            if (atEnd)
                break;
            kept = int(end - consumed);
            if (kept == int(sizeof buffer)) { // a line longer than the buffer: the index copes
                outcome = Scan::Undecided;
                break;
            }
            std::memmove(buffer, consumed, size_t(kept));
        }
        ::close(fd);
        return outcome;
    }

    Scan matched(const Rule& rule, QString* mimeType)
    {
        *mimeType = QString::fromLatin1(rule.mimeType, rule.mimeTypeSize);
        cache.insert(QByteArray(rule.glob, rule.globSize), rule.caseSensitive, *mimeType);
        return Scan::Matched;
    }

    // Brings the index up to date with the glob file, which a miss costs a
    // stat() when the file is as it was.
    bool loadGlobs()
    {
        if (globsInMemory) {
            if (!index)
                index = std::make_unique<GlobIndex>(globContent);
            return true;
        }
        struct stat info;
        if (::stat(globFile.constData(), &info) != 0 || S_ISDIR(info.st_mode)) {
            index.reset();
            return false;
        }
        if (index && indexStamp && *indexStamp == FileStamp(info))
            return true;
        index.reset();
        indexStamp.reset();
        QByteArray content;
        if (S_ISREG(info.st_mode)) {
            const int fd = ::open(globFile.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return false;
            const bool read = readRegularFile(fd, &content, &indexStamp);
            ::close(fd);
            if (!read)
                return false;
        } else {
            // A device or a pipe: read as it comes, again at every miss.
            QFile file(QFile::decodeName(globFile));
            if (!file.open(QIODevice::ReadOnly))
                return false;
            content = file.read(MaxGlobFileSize);
        }
        index = std::make_unique<GlobIndex>(content);
        return true;
    }

    QString lookUp(const QString& filePath)
    {
        const Name name(filePath.mid(filePath.lastIndexOf(QLatin1Char('/')) + 1));
        if (!cache.isEmpty()) {
            const QString cached = cache.find(name);
            if (!cached.isNull())
                return cached;
        }
        if (!scanned) {
            scanned = true;
            QString mimeType;
            switch (scanGlobs(name.text, &mimeType)) {
            case Scan::Matched:
                return mimeType;
            case Scan::NoMatch:
                return OctetStream;
            case Scan::Unreadable:
                return QString();
            case Scan::Undecided:
                break;
            }
        }
        if (!loadGlobs())
            return QString();
        const int rule = index->firstMatch(name.text);
        if (rule < 0)
            return OctetStream;
        const QString mimeType = index->mimeType(rule);
        cache.insert(index->glob(rule), index->caseSensitive(rule), mimeType);
        return mimeType;
    }
};

Resolver& resolver()
{
    static Resolver instance;
    return instance;
}

} // namespace

namespace MimeTypeResolverInternal {

void setGlobFilePath(const QString& path)
{
    resolver() = Resolver();
    resolver().globFile = QFile::encodeName(path);
}

void setGlobFileContent(const QByteArray& content)
{
    resolver() = Resolver();
    resolver().globContent = content;
    resolver().globsInMemory = true;
}

} // namespace MimeTypeResolverInternal

QString MimeTypeResolver::mimeTypeForFilePath(const QString& filePath)
{
    return resolver().lookUp(filePath);
}

QString MimeTypeResolver::iconForFileAndMimeType(const QString& filePath, const QString& mimeType)
{
    const QStringList parts = mimeType.toLower().split(QLatin1Char('/'));
    const QString type = parts.value(0);
    const QString subtype = parts.size() > 1 ? parts.at(1) : QString();

    if (type == QLatin1String("application")) {
        if (subtype == QLatin1String("pdf") || subtype == QLatin1String("x-pdf"))
            return QStringLiteral("icon-m-content-pdf-inverse");
        if (subtype == QLatin1String("msword"))
            return QStringLiteral("icon-m-content-word-inverse");
        if (subtype == QLatin1String("vnd.ms-excel"))
            return QStringLiteral("icon-m-content-excel-inverse");
        if (subtype == QLatin1String("vnd.ms-powerpoint"))
            return QStringLiteral("icon-m-content-powerpoint-inverse");
        if (subtype == QLatin1String("vcard"))
            return QStringLiteral("icon-m-content-avatar-placeholder-inverse");
    }
    if (type == QLatin1String("image"))
        return QStringLiteral("icon-m-content-image-inverse");
    if (type == QLatin1String("video"))
        return QStringLiteral("icon-m-content-videos-inverse");
    if (type == QLatin1String("audio"))
        return QStringLiteral("icon-m-content-audio-inverse");
    if (type == QLatin1String("text") && subtype == QLatin1String("x-vcard"))
        return QStringLiteral("icon-m-content-avatar-placeholder-inverse");

    // By the extension: whatever follows the path's last ".".
    const QStringList pieces = filePath.split(QLatin1Char('.'));
    if (pieces.size() < 2)
        return QStringLiteral("icon-m-content-file-unknown-inverse");
    const QString extension = pieces.last().toLower();
    if (extension == QLatin1String("vcf") || extension == QLatin1String("vcard"))
        return QStringLiteral("icon-m-content-avatar-placeholder-inverse");
    if (extension == QLatin1String("png") || extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")
        || extension == QLatin1String("gif"))
        return QStringLiteral("icon-m-content-image-inverse");
    return QStringLiteral("icon-m-content-file-unknown-inverse");
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/mimetyperesolver.h>

#include "content/mimetyperesolver_p.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <cstring>

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

// How a glob is looked up in the cache: almost every rule is a literal name
// ("makefile") or "*" and a literal suffix ("*.pdf", "*~"), which a hash
// finds at once; only the rest ("*.[1-9]", "README*") is tried in turn.
enum class Kind { Literal, Suffix, Pattern };

bool hasWildcard(const char* data, int size)
{
    return std::memchr(data, '*', size_t(size)) || std::memchr(data, '?', size_t(size))
        || std::memchr(data, '[', size_t(size));
}

Kind kindOf(const QByteArray& glob)
{
    if (!hasWildcard(glob.constData(), glob.size()))
        return Kind::Literal;
    if (glob.startsWith('*') && !hasWildcard(glob.constData() + 1, glob.size() - 1))
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
        switch (kindOf(glob)) {
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
    for (const char* c = line; c < end && count < 4; ++c) {
        if (*c == ':')
            fields[count++] = c + 1;
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

bool matchesLiterally(const char* glob, int size, const QString& name, bool caseSensitive)
{
    if (size != name.size())
        return false;
    for (int i = 0; i < size; ++i) {
        if (!sameCharacter(uchar(glob[i]), name.at(i).unicode(), caseSensitive))
            return false;
    }
    return true;
}

struct Resolver
{
    QString globFile = QStringLiteral("/usr/share/mime/globs2");
    // Set by a test hook instead of the file.
    QByteArray globContent;
    bool globsInMemory = false;
    GlobCache cache;

    bool readGlobs(QByteArray* content) const
    {
        if (globsInMemory) {
            *content = globContent;
            return true;
        }
        QFile file(globFile);
        if (!file.exists() || !file.open(QIODevice::ReadOnly))
            return false;
        const bool bounded = !file.isSequential() && file.size() <= MaxGlobFileSize;
        *content = bounded ? file.readAll() : file.read(MaxGlobFileSize);
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

        QByteArray content;
        if (!readGlobs(&content))
            return QString();

        // Scanned in place: a miss walks every line of the file.
        const char* line = content.constData();
        const char* const end = line + content.size();
        while (line < end) {
            const char* next = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
            const char* lineEnd = next ? next : end;
            if (lineEnd > line && lineEnd[-1] == '\r')
                --lineEnd;
            const Rule rule = parseRule(line, lineEnd);
            if (rule.glob && matches(rule, name.text)) {
                const QString mimeType = QString::fromLatin1(rule.mimeType, rule.mimeTypeSize);
                cache.insert(QByteArray(rule.glob, rule.globSize), rule.caseSensitive, mimeType);
                return mimeType;
            }
            line = next ? next + 1 : end;
        }
        return OctetStream;
    }

    static bool matches(const Rule& rule, const QString& name)
    {
        const char* glob = rule.glob;
        const int size = rule.globSize;
        if (!hasWildcard(glob, size))
            return matchesLiterally(glob, size, name, rule.caseSensitive);
        if (glob[0] == '*' && !hasWildcard(glob + 1, size - 1))
            return size - 1 <= name.size() && matchesLiterally(glob + 1, size - 1, name.right(size - 1), rule.caseSensitive);
        return Glob(glob, size).matches(name.constData(), name.size(), rule.caseSensitive);
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
    resolver().globFile = path;
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

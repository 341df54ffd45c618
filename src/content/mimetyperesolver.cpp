#include <Pavane/mimetyperesolver.h>

#include "content/mimetyperesolver_p.h"

#include <QFile>
#include <QHash>
#include <QRegExp>
#include <QStringList>
#include <QVector>

#include <cstring>

namespace Pavane {

namespace {

const QString OctetStream = QStringLiteral("application/octet-stream");

// How a glob is matched without building a pattern each time: almost every
// rule is a literal name ("makefile") or "*" and a literal suffix ("*.pdf",
// "*~"); only the rest ("*.[1-9]", "README*") needs a wildcard pattern.
enum class Kind { Literal, Suffix, Pattern };

bool hasWildcard(const char* data, int size)
{
    return std::memchr(data, '*', size_t(size)) || std::memchr(data, '?', size_t(size))
        || std::memchr(data, '[', size_t(size));
}

bool isAscii(const char* data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}

Kind kindOf(const char* glob, int size)
{
    // Anything beyond ASCII is matched the slow way, exactly as a pattern would.
    if (!isAscii(glob, size))
        return Kind::Pattern;
    if (!hasWildcard(glob, size))
        return Kind::Literal;
    if (size > 0 && glob[0] == '*' && !hasWildcard(glob + 1, size - 1))
        return Kind::Suffix;
    return Kind::Pattern;
}

bool asciiEqual(const char* a, const char* b, int size, bool caseSensitive)
{
    return caseSensitive ? std::memcmp(a, b, size_t(size)) == 0 : qstrnicmp(a, b, uint(size)) == 0;
}

QRegExp wildcard(const QString& glob, bool caseSensitive)
{
    return QRegExp(glob, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive, QRegExp::Wildcard);
}

// A file name, in the forms the matchers need.
struct Name
{
    explicit Name(const QString& name)
        : text(name)
        , lower(name.toLower())
        , utf8(name.toUtf8())
    {
    }
    QString text;
    QString lower;
    QByteArray utf8;
};

// The types found so far: the glob as read and its MIME type, and indexes
// that answer a lookup without trying every glob in turn.
class GlobCache
{
public:
    bool isEmpty() const { return globs.isEmpty(); }

    void insert(const QByteArray& glob, bool caseSensitive, const QString& mimeType)
    {
        const QString key = QString::fromLatin1(glob);
        globs.insert(key, mimeType);
        switch (kindOf(glob.constData(), glob.size())) {
        case Kind::Literal:
            (caseSensitive ? literalsCs : literals).insert(caseSensitive ? key : key.toLower(), mimeType);
            break;
        case Kind::Suffix: {
            const QString suffix = key.mid(1);
            (caseSensitive ? suffixesCs : suffixes).insert(caseSensitive ? suffix : suffix.toLower(), mimeType);
            if (!suffixLengths.contains(suffix.size()))
                suffixLengths.append(suffix.size());
            break;
        }
        case Kind::Pattern:
            patterns.append({wildcard(key, caseSensitive), mimeType});
            break;
        }
    }

    QString find(const Name& name) const
    {
        if (const auto it = literals.constFind(name.lower); it != literals.constEnd())
            return it.value();
        if (const auto it = literalsCs.constFind(name.text); it != literalsCs.constEnd())
            return it.value();
        for (const int length : suffixLengths) {
            if (length > name.text.size())
                continue;
            if (const auto it = suffixes.constFind(name.lower.right(length)); it != suffixes.constEnd())
                return it.value();
            if (!suffixesCs.isEmpty()) {
                if (const auto it = suffixesCs.constFind(name.text.right(length)); it != suffixesCs.constEnd())
                    return it.value();
            }
        }
        for (const Pattern& pattern : patterns) {
            if (pattern.regExp.exactMatch(name.text))
                return pattern.mimeType;
        }
        return QString();
    }

private:
    struct Pattern
    {
        QRegExp regExp;
        QString mimeType;
    };

    QHash<QString, QString> globs;
    QHash<QString, QString> literals;
    QHash<QString, QString> literalsCs;
    QHash<QString, QString> suffixes;
    QHash<QString, QString> suffixesCs;
    QVector<int> suffixLengths;
    QVector<Pattern> patterns;
};

struct Resolver
{
    QString globFile = QStringLiteral("/usr/share/mime/globs2");
    GlobCache cache;
    // Patterns compiled while reading the glob file, kept across reads: the
    // file may change, a glob's meaning does not.
    QHash<QByteArray, QRegExp> compiled;

    bool matches(const char* glob, int size, bool caseSensitive, const Name& name)
    {
        const char* n = name.utf8.constData();
        const int nameSize = name.utf8.size();
        switch (kindOf(glob, size)) {
        case Kind::Literal:
            return size == nameSize && asciiEqual(glob, n, size, caseSensitive);
        case Kind::Suffix:
            return size - 1 <= nameSize && asciiEqual(glob + 1, n + nameSize - (size - 1), size - 1, caseSensitive);
        case Kind::Pattern:
            break;
        }
        QByteArray key(glob, size);
        if (caseSensitive)
            key += '\0';
        auto it = compiled.find(key);
        if (it == compiled.end())
            it = compiled.insert(key, wildcard(QString::fromLatin1(glob, size), caseSensitive));
        return it->exactMatch(name.text);
    }

    QString lookUp(const QString& filePath)
    {
        const Name name(filePath.mid(filePath.lastIndexOf(QLatin1Char('/')) + 1));
        if (!cache.isEmpty()) {
            const QString cached = cache.find(name);
            if (!cached.isNull())
                return cached;
        }

        QFile file(globFile);
        if (!file.exists() || !file.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray content = file.readAll();
        file.close();

        // One rule per line: weight:type:glob, or weight:type:glob:flags.
        // Scanned in place: a miss walks every line of the file.
        const char* line = content.constData();
        const char* const end = line + content.size();
        while (line < end) {
            const char* next = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
            const char* lineEnd = next ? next : end;
            if (lineEnd > line && lineEnd[-1] == '\r')
                --lineEnd;
            if (const Rule rule = parse(line, lineEnd); rule.glob && matches(rule.glob, rule.globSize, rule.caseSensitive, name)) {
                const QString mimeType = QString::fromLatin1(rule.mimeType, rule.mimeTypeSize);
                cache.insert(QByteArray(rule.glob, rule.globSize), rule.caseSensitive, mimeType);
                return mimeType;
            }
            line = next ? next + 1 : end;
        }
        return OctetStream;
    }

    struct Rule
    {
        const char* mimeType = nullptr;
        int mimeTypeSize = 0;
        const char* glob = nullptr; // null: no rule on this line
        int globSize = 0;
        bool caseSensitive = false;
    };

    // Comments, empty lines and lines of one field hold no rule. With a
    // flags field the glob is the third field, and "cs" makes it
    // case-sensitive; the flags themselves are no glob.
    static Rule parse(const char* line, const char* end)
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
        rule.mimeType = fields[1];
        rule.mimeTypeSize = int(fieldEnd(1) - fields[1]);
        const int globField = count >= 4 ? 2 : count - 1;
        rule.glob = fields[globField];
        rule.globSize = int(fieldEnd(globField) - fields[globField]);
        if (count >= 4) {
            const QByteArray flags(fields[3], int(end - fields[3]));
            rule.caseSensitive = flags.split(',').contains("cs");
        }
        return rule;
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

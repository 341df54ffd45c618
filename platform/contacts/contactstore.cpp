// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "contactstore.h"

#include "contactcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

const char Suffix[] = ".vcf";

} // namespace

ContactStore::ContactStore(const QString& directory)
    : dir(QDir(directory).absolutePath())
{
}

QString ContactStore::defaultDirectory()
{
    // XDG base directories must be absolute; a relative one is ignored.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/tracker-contacts");
}

bool ContactStore::parseId(const QString& text, quint32* id)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    if (!ok || text != QString::number(value))
        return false;
    *id = value;
    return true;
}

QString ContactStore::pathOf(quint32 id) const
{
    return dir + QLatin1Char('/') + QString::number(id) + QLatin1String(Suffix);
}

QList<quint32> ContactStore::idsInUse(bool withClaimed) const
{
    QList<quint32> result;
    const QFileInfoList files = QDir(dir).entryInfoList(
        QStringList() << QStringLiteral("*") + QLatin1String(Suffix), QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        quint32 id = 0;
        const QString name = file.fileName();
        if (!parseId(name.left(name.size() - int(qstrlen(Suffix))), &id))
            continue;
        if (withClaimed || file.size() > 0)
            result.append(id);
    }
    std::sort(result.begin(), result.end());
    return result;
}

QList<quint32> ContactStore::ids() const
{
    return idsInUse(false);
}

QByteArray ContactStore::read(quint32 id) const
{
    QFile file(pathOf(id));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    // Whatever else writes into the directory, no card is read beyond the
    // size the engine stores.
    const QByteArray card = file.read(ContactCard::MaxSize + 1);
    return card.size() > ContactCard::MaxSize ? QByteArray() : card;
}

bool ContactStore::write(const QString& path, const QByteArray& card)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(card) != card.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ContactStore::Result ContactStore::add(const QByteArray& card, quint32* id)
{
    if (!QDir().mkpath(dir))
        return Failed;
    const QList<quint32> used = idsInUse(true);
    quint64 next = used.isEmpty() ? 1 : quint64(used.last()) + 1;
    // Another manager may claim the same id between the listing and the
    // claim; then the next one is tried.
    for (;; ++next) {
        if (next > std::numeric_limits<quint32>::max())
            return Full;
        QFile claim(pathOf(quint32(next)));
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!claim.exists())
            return Failed;
    }
    const QString path = pathOf(quint32(next));
    if (!write(path, card)) {
        QFile::remove(path);
        return Failed;
    }
    *id = quint32(next);
    return Done;
}

ContactStore::Result ContactStore::replace(quint32 id, const QByteArray& card)
{
    const QString path = pathOf(id);
    if (QFileInfo(path).size() <= 0)
        return Missing;
    return write(path, card) ? Done : Failed;
}

ContactStore::Result ContactStore::remove(quint32 id)
{
    const QString path = pathOf(id);
    if (QFileInfo(path).size() <= 0)
        return Missing;
    return QFile::remove(path) ? Done : Failed;
}

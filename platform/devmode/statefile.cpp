// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "statefile.h"

#include "devmodeinterface.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A state file is a few bytes; anything larger is not one of ours.
constexpr qint64 MaxStateFileSize = 4096;

} // namespace

StateFile::StateFile(const QString& path)
    : filePath(path)
{
}

QString StateFile::defaultPath()
{
    // Under a unit with StateDirectory=, systemd names the folders it made
    // writable for us, colon-separated; the first is ours. A relative or
    // empty one is not a folder it made, so it counts for nothing.
    const QString stateDirectory =
        QFile::decodeName(qgetenv("STATE_DIRECTORY")).section(QLatin1Char(':'), 0, 0);
    if (QDir::isAbsolutePath(stateDirectory))
        return QDir::cleanPath(stateDirectory + QStringLiteral("/radio-states"));
    if (geteuid() == 0)
        return QStringLiteral("/var/lib/devmoded/radio-states");
    QString base = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/devmoded/radio-states");
}

bool StateFile::parse(const QByteArray& content, unsigned* radioStates)
{
    if (content.size() > MaxStateFileSize)
        return false;
    const QList<QByteArray> lines = content.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const int equals = line.indexOf('=');
        if (equals < 0 || line.left(equals).trimmed() != "radio_states")
            continue;
        // The first radio_states line decides, well formed or not.
        bool ok = false;
        const uint value = line.mid(equals + 1).trimmed().toUInt(&ok, 0);
        if (!ok || value > DevMode::AllRadios)
            return false;
        *radioStates = value;
        return true;
    }
    return false;
}

unsigned StateFile::load() const
{
    // Not following links and not waiting for a writer: a FIFO put in the
    // file's place must not hang the daemon before it serves.
    const QByteArray path = QFile::encodeName(filePath);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    // A link is refused (ELOOP) like any other thing that is not a file.
    if (fd < 0 && errno != ELOOP) {
        qWarning("no state file %s (%s); all radios on", qPrintable(filePath), std::strerror(errno));
        return DevMode::AllRadios;
    }
    QByteArray content;
    bool regular = false;
    struct stat status;
    if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        regular = true;
        content.resize(int(MaxStateFileSize + 1));
        qint64 total = 0;
        while (total < content.size()) {
            const ssize_t got = ::read(fd, content.data() + total, size_t(content.size() - total));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                regular = got == 0;
                break;
            }
            total += got;
        }
        content.truncate(int(total));
    }
    if (fd >= 0)
        ::close(fd);

    unsigned radioStates = 0;
    if (regular && parse(content, &radioStates))
        return radioStates;
    qWarning("damaged state file %s; all radios on", qPrintable(filePath));
    return DevMode::AllRadios;
}

bool StateFile::save(unsigned radioStates) const
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSaveFile file(filePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        const QByteArray content = "# devmoded state\nradio_states=0x"
            + QByteArray::number(radioStates, 16) + '\n';
        file.write(content);
        if (file.commit())
            return true;
    }
    qWarning("cannot write state file %s: %s", qPrintable(filePath), qPrintable(file.errorString()));
    return false;
}

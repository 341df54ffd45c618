#include "statefile.h"

#include "devmodeinterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <unistd.h>

StateFile::StateFile(const QString& path)
    : filePath(path)
{
}

QString StateFile::defaultPath()
{
    if (geteuid() == 0)
        return QStringLiteral("/var/lib/devmoded/radio-states");
    QString base = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/devmoded/radio-states");
}

unsigned StateFile::load() const
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning("no state file %s (%s); all radios on", qPrintable(filePath),
                 qPrintable(file.errorString()));
        return DevMode::AllRadios;
    }
    // A state file is a few bytes; anything much larger is not one of ours.
    const QByteArray content = file.read(4096);
    QTextStream in(content);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || line.left(equals).trimmed() != QLatin1String("radio_states"))
            continue;
        bool ok = false;
        const uint value = line.mid(equals + 1).trimmed().toUInt(&ok, 0);
        if (ok && value <= DevMode::AllRadios)
            return value;
        break;
    }
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

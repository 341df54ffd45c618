// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlocale.h"

#include "datafolders_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <algorithm>

namespace {

const QString CommonCatalogue = QStringLiteral("common");

struct DefaultLocale
{
    MLocale locale;
    QList<QPointer<QTranslator>> translators;
    bool set = false;
};

DefaultLocale& defaults()
{
    static DefaultLocale instance;
    return instance;
}

// The catalogue in the locale's language, else in English, so that a logical
// id shows a text rather than itself.
QTranslator* loadCatalogue(const QString& name, const QLocale& locale)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    QStringList dirs = dataFolders("TESSELTOUCH_TRANSLATIONS_DIR", QStringLiteral("translations"),
                                   QStringLiteral(":/tesseltouch/translations"));
    // A folder that is not there is asked once, not for every file name a
    // locale could have: this runs in every application's start.
    dirs.erase(std::remove_if(dirs.begin(), dirs.end(), [](const QString& dir) { return !QFileInfo(dir).isDir(); }),
               dirs.end());
    for (const QLocale& candidate : {locale, QLocale(QLocale::English)}) {
        for (const QString& dir : dirs) {
            if (translator->load(candidate, name, QStringLiteral("_"), dir))
                return translator;
        }
    }
    delete translator;
    return nullptr;
}

void installDefaultAtStartup()
{
    if (!defaults().set)
        MLocale::setDefault(MLocale());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installDefaultAtStartup)

MLocale::MLocale()
    : MLocale(QLocale::system().name())
{
}

MLocale::MLocale(const QString& localeName)
    : m_name(localeName)
    , m_catalogues{CommonCatalogue}
{
}

MLocale::MLocale(const MLocale& other) = default;
MLocale& MLocale::operator=(const MLocale& other) = default;
MLocale::~MLocale() = default;

QString MLocale::name() const
{
    return m_name;
}

QString MLocale::language() const
{
    return m_name.section(QLatin1Char('_'), 0, 0);
}

QStringList MLocale::catalogues() const
{
    return m_catalogues;
}

void MLocale::installTrCatalog(const QString& name)
{
    if (!name.isEmpty() && !m_catalogues.contains(name))
        m_catalogues.append(name);
}

void MLocale::removeTrCatalog(const QString& name)
{
    if (name != CommonCatalogue)
        m_catalogues.removeAll(name);
}

void MLocale::setDefault(const MLocale& locale)
{
    DefaultLocale& d = defaults();
    d.locale = locale;
    d.set = true;
    if (!QCoreApplication::instance())
        return;
    for (const QPointer<QTranslator>& translator : qAsConst(d.translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    d.translators.clear();
    const QLocale qlocale(locale.name());
    for (const QString& catalogue : locale.catalogues()) {
        if (QTranslator* translator = loadCatalogue(catalogue, qlocale)) {
            QCoreApplication::installTranslator(translator);
            d.translators.append(translator);
        } else {
            qWarning("MLocale: no translation catalogue \"%s\"", qPrintable(catalogue));
        }
    }
}

MLocale MLocale::defaultLocale()
{
    return defaults().locale;
}

Qt::LayoutDirection MLocale::directionForText(const QString& text)
{
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
            return Qt::RightToLeft;
        case QChar::DirL:
            return Qt::LeftToRight;
        default:
            break;
        }
    }
    return Qt::LeftToRight;
}

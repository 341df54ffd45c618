// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtheme.h"

#include "datafolders_p.h"
#include "iconpainter.h"
#include "stylelookup.h"
#include "themestylesheet.h"

#include <QDir>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>

namespace {

// The theme of the process: the first folder that holds theme files, read
// once, on first use.
struct Theme
{
    QString directory;
    StyleLookup lookup;

    Theme()
        : lookup(load())
    {
    }

    ThemeStyleSheet load()
    {
        const QStringList candidates = dataFolders("TESSELTOUCH_THEME_DIR", QStringLiteral("themes/default"),
                                                   QStringLiteral(":/tesseltouch/themes/default"));
        ThemeStyleSheet sheet;
        for (const QString& candidate : qAsConst(candidates)) {
            const QDir dir(candidate);
            // The suffix is compared here rather than given to QDir as a
            // name filter, which would build and run a regular expression
            // before the first frame; QDir's filters ignore case, and so does
            // this.
            QStringList files = dir.entryList(QDir::Files, QDir::Name);
            files.erase(std::remove_if(files.begin(), files.end(),
                                       [](const QString& file) {
                                           return !file.endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
                                       }),
                        files.end());
            if (files.isEmpty())
                continue;
            directory = candidate;
            for (const QString& file : files)
                sheet.load(dir.filePath(file));
            return sheet;
        }
        qWarning("MTheme: no theme files found; every widget takes its default look");
        return sheet;
    }
};

Theme& theme()
{
    static Theme instance;
    return instance;
}

} // namespace

const MWidgetStyle* MTheme::style(const char* styleClassName, const QString& styleName, const ViewType& viewType)
{
    return theme().lookup.style(QString::fromLatin1(styleClassName), styleName, viewType);
}

QString MTheme::themeDirectory()
{
    return theme().directory;
}

QPixmap MTheme::pixmap(const QString& iconId, const QSize& size)
{
    const QString key = QStringLiteral("mtheme:%1:%2x%3").arg(iconId).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(size.isValid() && !size.isEmpty() ? size : QSize(48, 48));
    if (pixmap.isNull())
        return pixmap; // more than memory allows
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    IconPainter::paint(painter, iconId, QRectF(pixmap.rect()),
                       *style("MIconStyle", IconPainter::styleNameFor(iconId)));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

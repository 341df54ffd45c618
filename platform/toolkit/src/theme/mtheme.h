// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MTHEME_H
#define MTHEME_H

#include "tesseltouchcore_export.h"
#include "mwidgetstyle.h"

#include <QPixmap>
#include <QString>

// The theme: styles by style class, style name and view type, and images by
// theme icon identifier. GUI thread only.
//
// Styles come from the theme files ("*.css" in the theme folder:
// $TESSELTOUCH_THEME_DIR, else the installed default theme, else the copy
// built into the library). A style name the theme does not know falls back
// to the class's default look; "<name>Inverted" without a section of its own
// is "<name>" with the theme's inverted colours.
class TT_EXPORT MTheme
{
public:
    using ViewType = QString;

    // The style of @p styleClassName ("MLabelStyle", "MButtonStyle", ...) for
    // @p styleName and @p viewType ("switch", "spinner", ...). Owned by the
    // theme; valid as long as the application runs.
    static const MWidgetStyle* style(const char* styleClassName, const QString& styleName = QString(),
                                     const ViewType& viewType = ViewType());
    static void releaseStyle(const MWidgetStyle*) {}

    // The image for a theme icon identifier such as "icon-m-common-drilldown-arrow-inverse",
    // drawn at @p size. Unknown identifiers give a generic icon.
    static QPixmap pixmap(const QString& iconId, const QSize& size = QSize(48, 48));

    // Where the theme files were read from (":/..." for the built-in copy).
    static QString themeDirectory();
};

#endif

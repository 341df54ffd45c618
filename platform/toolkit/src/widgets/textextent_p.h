// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef TEXTEXTENT_P_H
#define TEXTEXTENT_P_H

#include "mwidgetstyle.h"

#include <QFontMetricsF>
#include <QString>
#include <QtMath>

// The measures of a widget's one line of text, kept in @p extent (a struct
// with style, width, height and averageCharWidth, whose other fields start
// anew with each measuring): taken again only when the font of @p style is
// not the one measured in. Measuring shapes the whole text, and layouts ask
// for size hints many times over; a style of another name often has the same
// font (the inverted looks).
template <typename Extent>
const Extent& measuredText(Extent& extent, const MWidgetStyle* style, const QString& text)
{
    if (extent.style == style)
        return extent;
    if (extent.style && extent.style->font() == style->font()) {
        extent.style = style;
        return extent;
    }
    const QFontMetricsF metrics(style->font());
    extent = Extent();
    extent.style = style;
    // Whole pixels: the text is drawn into integer widths.
    extent.width = qCeil(metrics.horizontalAdvance(text));
    extent.height = metrics.height();
    extent.averageCharWidth = metrics.averageCharWidth();
    return extent;
}

#endif

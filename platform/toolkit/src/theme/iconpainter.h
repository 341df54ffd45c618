// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef ICONPAINTER_H
#define ICONPAINTER_H

#include <QRectF>
#include <QString>

class MWidgetStyle;
class QPainter;

// Draws theme icons. They are drawn, not read from files: a few shapes chosen
// by words of the identifier ("drilldown-arrow", "content-pdf", "contact"),
// in the ink of the icon style ("MIconStyle", named "Inverse" for the
// "-inverse" icons meant for dark backgrounds). Any identifier gives a
// picture; unknown ones a rounded square with their last word.
class IconPainter
{
public:
    // The style an icon identifier is drawn with.
    static QString styleNameFor(const QString& iconId);

    static void paint(QPainter& painter, const QString& iconId, const QRectF& rect, const MWidgetStyle& style);
};

#endif

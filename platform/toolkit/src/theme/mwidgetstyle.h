// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MWIDGETSTYLE_H
#define MWIDGETSTYLE_H

#include "tesseltouchcore_export.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QString>

#include <optional>

// The look of a widget as the theme gives it: margins (outside the
// background), paddings (inside it), colours, font and sizes, and whatever
// else a widget's paint code reads from its section of the theme (line
// widths, spacings, opacities). Read-only; the theme makes and keeps them.
// GUI thread only.
class TT_EXPORT MWidgetStyle
{
public:
    MWidgetStyle();

    int marginLeft() const { return m_marginLeft; }
    int marginTop() const { return m_marginTop; }
    int marginRight() const { return m_marginRight; }
    int marginBottom() const { return m_marginBottom; }
    int paddingLeft() const { return m_paddingLeft; }
    int paddingTop() const { return m_paddingTop; }
    int paddingRight() const { return m_paddingRight; }
    int paddingBottom() const { return m_paddingBottom; }

    QColor backgroundColor() const { return m_backgroundColor; }
    QColor color() const { return m_color; }
    QColor accentColor() const { return m_accentColor; }
    QColor borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }
    int borderRadius() const { return m_borderRadius; }
    QFont font() const { return m_font; }

    // Negative components mean "not set".
    QSizeF minimumSize() const { return m_minimumSize; }
    QSizeF preferredSize() const { return m_preferredSize; }
    QSizeF maximumSize() const { return m_maximumSize; }

    // Any attribute of the theme file, as written there.
    QString attribute(const QString& name) const { return m_attributes.value(name); }
    // A numeric attribute ("line-width: 2", "disabled-opacity: 0.5"), or
    // @p fallback when the theme gives none or something that is no number.
    qreal number(const QString& name, qreal fallback = 0) const;
    // A colour attribute; invalid when the theme gives none.
    QColor colorAttribute(const QString& name) const;
    // @p color with its opacity multiplied by the factor attribute @p name
    // (1 when the theme gives none).
    QColor faded(QColor color, const QString& name) const;

private:
    friend class StyleLookup;
    void apply(const QHash<QString, QString>& attributes);

    int m_marginLeft = 0, m_marginTop = 0, m_marginRight = 0, m_marginBottom = 0;
    int m_paddingLeft = 0, m_paddingTop = 0, m_paddingRight = 0, m_paddingBottom = 0;
    QColor m_backgroundColor;
    QColor m_color;
    QColor m_accentColor;
    QColor m_borderColor;
    int m_borderWidth = 0;
    int m_borderRadius = 0;
    QFont m_font;
    QSizeF m_minimumSize{-1, -1};
    QSizeF m_preferredSize{-1, -1};
    QSizeF m_maximumSize{-1, -1};
    QHash<QString, QString> m_attributes;
    mutable QHash<QString, std::optional<qreal>> m_numbers; // number() of each name asked for
};

// Every style class of the theme shares the attributes above.
using MStyle = MWidgetStyle;
using MLabelStyle = MWidgetStyle;
using MButtonStyle = MWidgetStyle;
using MTextEditStyle = MWidgetStyle;

#endif

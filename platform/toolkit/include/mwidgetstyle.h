#ifndef MWIDGETSTYLE_H
#define MWIDGETSTYLE_H

#include "tesseltouchcore_export.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QString>

// The look of a widget as the theme gives it: margins (outside the
// background), paddings (inside it), colours, font and sizes. Read-only;
// MTheme makes and keeps them.
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

private:
    friend class MTheme;
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
};

// Every style class of the theme shares the attributes above.
using MStyle = MWidgetStyle;
using MLabelStyle = MWidgetStyle;
using MButtonStyle = MWidgetStyle;
using MTextEditStyle = MWidgetStyle;

#endif

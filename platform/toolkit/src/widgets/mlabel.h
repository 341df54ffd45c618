// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MLABEL_H
#define MLABEL_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

#include <QColor>

// A line or block of plain text. Long text is wrapped at word boundaries
// (word wrap) or cut with an ellipsis (text elide), or else shown whole.
class TT_EXPORT MLabel : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool wordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(bool textElide READ textElide WRITE setTextElide)
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment)

public:
    explicit MLabel(QGraphicsItem* parent = nullptr);
    explicit MLabel(const QString& text, QGraphicsItem* parent = nullptr);
    ~MLabel() override;

    QString text() const;
    void setText(const QString& text);
    bool wordWrap() const;
    void setWordWrap(bool wrap);
    bool textElide() const;
    void setTextElide(bool elide);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    // A colour of its own instead of the style's; invalid to follow the style.
    QColor color() const;
    void setColor(const QColor& color);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;

private:
    // The text's extent on one line in the font of a style (styles live as
    // long as the theme). Measuring shapes the whole text, and layouts ask
    // for size hints many times over. Word-wrapped text is measured for
    // each width a layout tries; the last few stay, as layouts ask for the
    // same widths again and again.
    struct TextExtent
    {
        const MWidgetStyle* style = nullptr;
        qreal width = 0;
        qreal height = 0;
        qreal averageCharWidth = 0;
        qreal ellipsisWidth = -1; // measured for elided labels alone
        static constexpr int WrapWidths = 4;
        qreal wrapWidth[WrapWidths] = {-1, -1, -1, -1};
        QSizeF wrapped[WrapWidths];
        int nextWrap = 0;
    };
    const TextExtent& textExtent() const;
    // The size of the text wrapped to @p width.
    QSizeF wrappedSize(qreal width) const;
    int textFlags() const;

    QString m_text;
    bool m_wordWrap = false;
    bool m_elide = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor m_color;
    mutable TextExtent m_extent;
};

#endif

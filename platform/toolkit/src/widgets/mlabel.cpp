// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlabel.h"

#include "accessibletree_p.h"
#include "textextent_p.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

MLabel::MLabel(QGraphicsItem* parent)
    : MLabel(QString(), parent)
{
}

MLabel::MLabel(const QString& text, QGraphicsItem* parent)
    : MWidgetController(parent)
    , m_text(text)
{
    applyStyle();
}

MLabel::~MLabel() = default;

const char* MLabel::styleClassName() const
{
    return "MLabelStyle";
}

QString MLabel::text() const
{
    return m_text;
}

void MLabel::setText(const QString& text)
{
    // An empty text is a text too: set over none, text() gives it back.
    if (text == m_text && text.isNull() == m_text.isNull())
        return;
    m_text = text;
    m_extent = {};
    updateGeometry();
    update();
    if (accessibleName().isEmpty())
        AccessibleTree::post(this, QAccessible::NameChanged);
    AccessibleTree::labelChanged(this);
}

bool MLabel::wordWrap() const
{
    return m_wordWrap;
}

void MLabel::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrap);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

bool MLabel::textElide() const
{
    return m_elide;
}

void MLabel::setTextElide(bool elide)
{
    m_elide = elide;
    updateGeometry();
    update();
}

Qt::Alignment MLabel::alignment() const
{
    return m_alignment;
}

void MLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QColor MLabel::color() const
{
    return m_color;
}

void MLabel::setColor(const QColor& color)
{
    m_color = color;
    update();
}

int MLabel::textFlags() const
{
    return int(m_alignment) | (m_wordWrap ? Qt::TextWordWrap : 0);
}

const MLabel::TextExtent& MLabel::textExtent() const
{
    return measuredText(m_extent, style(), m_text);
}

QSizeF MLabel::contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const
{
    if (which == Qt::MaximumSize)
        return QSizeF(-1, -1);
    const TextExtent& extent = textExtent();
    if (m_wordWrap) {
        // Without a width to wrap to, the minimum is a few characters of one
        // line: any taller and layouts could not give it less height.
        if (constraint.width() <= 0 && which == Qt::MinimumSize)
            return QSizeF(extent.averageCharWidth * 8, extent.height);
        const qreal width = constraint.width() > 0 ? constraint.width() : extent.width;
        const QSizeF bounds = wrappedSize(qMax<qreal>(width, 1));
        return QSizeF(which == Qt::MinimumSize ? width : qMin(width, bounds.width()),
                      qMax(bounds.height(), extent.height));
    }
    if (which == Qt::MinimumSize && m_elide) {
        if (extent.ellipsisWidth < 0) {
            const QFontMetricsF metrics(extent.style->font());
            m_extent.ellipsisWidth = metrics.horizontalAdvance(QStringLiteral("..."));
        }
        return QSizeF(qMin(extent.width, extent.ellipsisWidth), extent.height);
    }
    return QSizeF(extent.width, extent.height);
}

QSizeF MLabel::wrappedSize(qreal width) const
{
    const TextExtent& extent = textExtent();
    for (int i = 0; i < TextExtent::WrapWidths; ++i) {
        if (extent.wrapWidth[i] == width)
            return extent.wrapped[i];
    }
    const QFontMetricsF metrics(extent.style->font());
    const QSizeF size = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, m_text).size();
    const int slot = m_extent.nextWrap;
    m_extent.nextWrap = (slot + 1) % TextExtent::WrapWidths;
    m_extent.wrapWidth[slot] = width;
    m_extent.wrapped[slot] = size;
    return size;
}

void MLabel::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    if (m_text.isEmpty())
        return;
    const MWidgetStyle* s = style();
    const QRectF area = contentsRect();
    painter->save();
    painter->setFont(s->font());
    QColor color = m_color.isValid() ? m_color : s->color();
    if (!isEnabled() && !m_color.isValid())
        color = s->faded(color, QStringLiteral("disabled-opacity"));
    painter->setPen(color);
    QString text = m_text;
    if (m_elide && !m_wordWrap)
        text = painter->fontMetrics().elidedText(m_text, Qt::ElideRight, int(area.width()));
    painter->drawText(area, textFlags(), text);
    painter->restore();
}

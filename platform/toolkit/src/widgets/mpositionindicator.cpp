// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mpositionindicator.h"

#include <QPainter>

MPositionIndicator::MPositionIndicator(QGraphicsItem* parent)
    : MWidgetController(parent)
{
    applyStyle();
}

MPositionIndicator::~MPositionIndicator() = default;

const char* MPositionIndicator::styleClassName() const
{
    return "MPositionIndicatorStyle";
}

void MPositionIndicator::setViewportSize(const QSizeF& size)
{
    if (size == m_viewportSize)
        return;
    m_viewportSize = size;
    update();
}

void MPositionIndicator::setRange(const QRectF& range)
{
    if (range == m_range)
        return;
    m_range = range;
    update();
}

void MPositionIndicator::setPosition(const QPointF& position)
{
    if (position == m_position)
        return;
    m_position = position;
    update();
}

void MPositionIndicator::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);

    const qreal visible = m_viewportSize.height();
    const qreal total = m_range.height();
    const QRectF track = contentsRect();
    if (visible <= 0 || total <= visible || track.height() <= 0)
        return;

    const MWidgetStyle* s = style();
    const qreal breadth = qMin(track.width(), s->preferredSize().width());
    if (breadth <= 0)
        return;

    // A bar shorter than the style's minimum would be lost on very long contents.
    const qreal minimumLength = s->number(QStringLiteral("minimum-bar-length"));
    const qreal length = qBound(qMin(minimumLength, track.height()), track.height() * visible / total,
                                track.height());
    const qreal travel = total - visible;
    const qreal share = qBound<qreal>(0, (m_position.y() - m_range.top()) / travel, 1);
    const QRectF bar(track.right() - breadth, track.top() + share * (track.height() - length), breadth, length);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(s->color());
    painter->drawRoundedRect(bar, breadth / 2, breadth / 2);
    painter->restore();
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mseparator.h"

#include <QPainter>

MSeparator::MSeparator(QGraphicsItem* parent, Qt::Orientation orientation)
    : MWidgetController(parent)
    , m_orientation(orientation)
{
    setSizePolicy(orientation == Qt::Horizontal
                      ? QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed)
                      : QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred));
    applyStyle();
}

MSeparator::~MSeparator() = default;

const char* MSeparator::styleClassName() const
{
    return "MSeparatorStyle";
}

Qt::Orientation MSeparator::orientation() const
{
    return m_orientation;
}

void MSeparator::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    updateGeometry();
    update();
}

QSizeF MSeparator::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    const MWidgetStyle* s = style();
    const qreal thickness = s->number(QStringLiteral("line-width"));
    const qreal length = which == Qt::MaximumSize ? -1
        : which == Qt::MinimumSize                ? 0
                                                  : s->number(QStringLiteral("content-length"));
    return m_orientation == Qt::Horizontal ? QSizeF(length, thickness) : QSizeF(thickness, length);
}

void MSeparator::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    painter->fillRect(contentsRect(), style()->color());
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mprogressindicator.h"

#include "accessibletree_p.h"

#include <QPainter>

const MTheme::ViewType MProgressIndicator::spinnerType = QStringLiteral("spinner");
const MTheme::ViewType MProgressIndicator::barType = QStringLiteral("bar");

MProgressIndicator::MProgressIndicator(QGraphicsItem* parent, const MTheme::ViewType& viewType)
    : MWidgetController(parent)
{
    setViewType(viewType);
    applyStyle();
}

MProgressIndicator::~MProgressIndicator() = default;

const char* MProgressIndicator::styleClassName() const
{
    return "MProgressIndicatorStyle";
}

bool MProgressIndicator::unknownDuration() const
{
    return m_unknownDuration;
}

void MProgressIndicator::setUnknownDuration(bool unknown)
{
    if (unknown == m_unknownDuration)
        return;
    m_unknownDuration = unknown;
    update();
    QAccessible::State busy;
    busy.busy = true;
    AccessibleTree::notifyState(this, busy);
}

int MProgressIndicator::minimum() const
{
    return m_minimum;
}

int MProgressIndicator::maximum() const
{
    return m_maximum;
}

void MProgressIndicator::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    m_value = qBound(m_minimum, m_value, m_maximum);
    update();
}

int MProgressIndicator::value() const
{
    return m_value;
}

void MProgressIndicator::setValue(int value)
{
    value = qBound(m_minimum, value, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    update();
    QAccessibleValueChangeEvent changed(this, value);
    AccessibleTree::notify(&changed);
}

QSizeF MProgressIndicator::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    // A spinner keeps its size; a bar takes any width.
    const MWidgetStyle* s = style();
    const qreal height = s->number(QStringLiteral("content-height"));
    if (viewType() == spinnerType)
        return QSizeF(s->number(QStringLiteral("content-width")), height);
    const qreal width = which == Qt::MaximumSize ? -1
        : which == Qt::MinimumSize                ? s->number(QStringLiteral("minimum-content-width"))
                                                  : s->number(QStringLiteral("content-width"));
    return QSizeF(width, height);
}

void MProgressIndicator::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    const MWidgetStyle* s = style();
    const QColor ink = s->color();
    const QColor track = s->faded(ink, QStringLiteral("track-opacity"));
    const qreal lineWidth = s->number(QStringLiteral("line-width"));
    const QRectF area = contentsRect();
    const qreal fraction = m_maximum > m_minimum ? qreal(m_value - m_minimum) / (m_maximum - m_minimum) : 0;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (viewType() == spinnerType) {
        const qreal side = qMin(area.width(), area.height());
        // Inset so that the stroke stays inside.
        const qreal ringSide = side - 2 * s->number(QStringLiteral("ring-inset"));
        QRectF ring(0, 0, ringSide, ringSide);
        ring.moveCenter(area.center());
        painter->setPen(QPen(track, lineWidth));
        painter->drawEllipse(ring);
        painter->setPen(QPen(ink, lineWidth, Qt::SolidLine, Qt::RoundCap));
        // Unknown duration: a quarter arc that says "busy"; else the share done.
        const int span = m_unknownDuration ? 90 * 16 : int(360 * 16 * fraction);
        painter->drawArc(ring, 90 * 16, -span);
    } else {
        painter->setPen(Qt::NoPen);
        painter->setBrush(track);
        painter->drawRoundedRect(area, area.height() / 2, area.height() / 2);
        painter->setBrush(ink);
        const QRectF done = m_unknownDuration
            ? QRectF(area.left() + area.width() * 0.3, area.top(), area.width() * 0.4, area.height())
            : QRectF(area.left(), area.top(), area.width() * fraction, area.height());
        painter->drawRoundedRect(done, area.height() / 2, area.height() / 2);
    }
    painter->restore();
}

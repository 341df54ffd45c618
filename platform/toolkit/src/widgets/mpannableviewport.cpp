// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mpannableviewport.h"

#include "mpositionindicator.h"

#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QWidget>

namespace {

// How far a finger moves before a press becomes a pan: less is a shaky tap.
const qreal DragThreshold = 16;
// Pixels panned per wheel notch (a delta of 120).
const qreal WheelStep = 64;

} // namespace

MPannableViewport::MPannableViewport(QGraphicsItem* parent)
    : MWidget(parent)
    , m_indicator(new MPositionIndicator(this))
{
    setFlag(ItemClipsChildrenToShape);
    // Presses meant for the contents pass through; only a press that moves
    // far enough is taken over for panning.
    setFiltersChildEvents(true);
    setAcceptedMouseButtons(Qt::LeftButton);
    m_indicator->setZValue(1);
    m_indicator->hide();
}

MPannableViewport::~MPannableViewport()
{
    // The contents go only after this object has ceased to be a viewport:
    // a focus change their destruction causes must not reach it, and Qt
    // must not look for a parent widget to tell of their size hint.
    QObject::disconnect(m_focusConnection);
    if (m_widget)
        m_widget->setParentLayoutItem(nullptr);
}

void MPannableViewport::setWidget(QGraphicsWidget* widget)
{
    if (widget == m_widget)
        return;
    if (QGraphicsWidget* old = m_widget) {
        m_widget = nullptr;
        old->setParentLayoutItem(nullptr);
        old->setParentItem(nullptr);
    }
    m_widget = widget;
    m_position = 0;
    if (widget) {
        widget->setParentItem(this);
        // A layout item whose parent is a widget rather than a layout makes
        // Qt post that widget a LayoutRequest whenever its size hint changes.
        widget->setParentLayoutItem(this);
        widget->setZValue(0);
    }
    layoutWidget();
    updateGeometry();
}

QGraphicsWidget* MPannableViewport::widget() const
{
    return m_widget;
}

MPositionIndicator* MPannableViewport::positionIndicator() const
{
    return m_indicator;
}

QPointF MPannableViewport::position() const
{
    return QPointF(0, m_position);
}

void MPannableViewport::setPosition(const QPointF& position)
{
    const qreal y = qBound<qreal>(0, position.y(), maximumPosition());
    if (m_widget)
        m_widget->setPos(0, -y);
    if (y == m_position)
        return;
    m_position = y;
    m_indicator->setPosition(QPointF(0, y));
}

qreal MPannableViewport::maximumPosition() const
{
    return m_widget ? qMax<qreal>(0, m_widget->size().height() - size().height()) : 0;
}

void MPannableViewport::layoutWidget()
{
    const QSizeF area = size();
    qreal height = 0;
    if (m_widget) {
        const qreal wanted = m_widget->effectiveSizeHint(Qt::PreferredSize, QSizeF(area.width(), -1)).height();
        m_widget->setGeometry(QRectF(0, -m_position, area.width(), qMax(wanted, area.height())));
        height = m_widget->size().height();
    }

    const qreal barWidth = m_indicator->effectiveSizeHint(Qt::PreferredSize).width();
    m_indicator->setGeometry(QRectF(area.width() - barWidth, 0, barWidth, area.height()));
    m_indicator->setViewportSize(area);
    m_indicator->setRange(QRectF(0, 0, area.width(), height));
    m_indicator->setVisible(height > area.height());

    // Contents that shrank, or a viewport that grew, may leave the old
    // position out of range.
    setPosition(QPointF(0, m_position));
    m_indicator->setPosition(QPointF(0, m_position));
}

QSizeF MPannableViewport::sizeHint(Qt::SizeHint which, const QSizeF& constraint) const
{
    switch (which) {
    case Qt::MinimumSize:
        return QSizeF(0, 0);
    case Qt::PreferredSize:
        return m_widget ? m_widget->effectiveSizeHint(Qt::PreferredSize, QSizeF(constraint.width(), -1))
                        : QSizeF(0, 0);
    case Qt::MaximumSize:
        return QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    default:
        return MWidget::sizeHint(which, constraint);
    }
}

void MPannableViewport::resizeEvent(QGraphicsSceneResizeEvent* event)
{
    MWidget::resizeEvent(event);
    layoutWidget();
}

bool MPannableViewport::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::LayoutRequest:
        // The contents' size hint changed: they get a new height, and
        // whoever lays out the viewport learns of its new preferred size.
        layoutWidget();
        updateGeometry();
        break;
    case QEvent::GraphicsSceneMouseRelease:
        if (m_dragging) {
            m_dragging = false;
            if (scene() && scene()->mouseGrabberItem() == this)
                ungrabMouse();
            event->accept();
            return true;
        }
        break;
    case QEvent::UngrabMouse:
        m_dragging = false;
        break;
    default:
        break;
    }
    return MWidget::event(event);
}

void MPannableViewport::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // Reached only when nothing inside took the press; it may still become a pan.
    m_dragStart = mapFromScene(event->scenePos());
    m_dragStartPosition = m_position;
    m_dragging = false;
    event->accept();
}

void MPannableViewport::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    const qreal moved = mapFromScene(event->scenePos()).y() - m_dragStart.y();
    if (!m_dragging) {
        if (qAbs(moved) < DragThreshold || maximumPosition() <= 0)
            return;
        startDragging(event);
    }
    setPosition(QPointF(0, m_dragStartPosition - moved));
    event->accept();
}

void MPannableViewport::startDragging(QGraphicsSceneMouseEvent* event)
{
    m_dragging = true;
    QGraphicsScene* s = scene();
    if (!s)
        return;
    QGraphicsItem* grabber = s->mouseGrabberItem();
    if (grabber && grabber != this) {
        // The item that took the press must not see this gesture end as a
        // tap, nor stay pressed: a release away from it ends its press.
        QGraphicsSceneMouseEvent release(QEvent::GraphicsSceneMouseRelease);
        release.setButton(Qt::LeftButton);
        release.setButtons(Qt::NoButton);
        release.setScenePos(event->scenePos());
        release.setScreenPos(event->screenPos());
        release.setPos(grabber->boundingRect().topLeft() - QPointF(1, 1));
        release.setButtonDownPos(Qt::LeftButton, event->buttonDownPos(Qt::LeftButton));
        release.setButtonDownScenePos(Qt::LeftButton, event->buttonDownScenePos(Qt::LeftButton));
        release.setModifiers(event->modifiers());
        s->sendEvent(grabber, &release);
    }
    if (s->mouseGrabberItem() != this)
        grabMouse();
}

bool MPannableViewport::sceneEventFilter(QGraphicsItem* watched, QEvent* event)
{
    Q_UNUSED(watched);
    if (m_dragging)
        return false;
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_dragStart = mapFromScene(mouse->scenePos());
            m_dragStartPosition = m_position;
        }
        return false;
    }
    case QEvent::GraphicsSceneMouseMove: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton))
            return false;
        // mouseMoveEvent() decides whether the press has become a pan; until
        // it has, the item that took the press keeps getting the moves.
        const bool accepted = mouse->isAccepted();
        mouseMoveEvent(mouse);
        if (m_dragging)
            return true;
        mouse->setAccepted(accepted);
        return false;
    }
    default:
        return false;
    }
}

void MPannableViewport::wheelEvent(QGraphicsSceneWheelEvent* event)
{
    const qreal before = m_position;
    if (event->orientation() == Qt::Vertical)
        setPosition(QPointF(0, m_position - event->delta() / 120.0 * WheelStep));
    // At an end the wheel goes on to what lies behind, such as an outer viewport.
    event->setAccepted(m_position != before);
}

QVariant MPannableViewport::itemChange(GraphicsItemChange change, const QVariant& value)
{
    switch (change) {
    case ItemSceneHasChanged:
        QObject::disconnect(m_focusConnection);
        if (QGraphicsScene* s = scene()) {
            m_focusConnection = connect(s, &QGraphicsScene::focusItemChanged, this,
                                        [this](QGraphicsItem* newFocus) { focusItemChanged(newFocus); });
        }
        break;
    case ItemVisibleHasChanged:
        // Size hints that changed while hidden were not announced.
        if (value.toBool()) {
            layoutWidget();
            updateGeometry();
        }
        break;
    case ItemChildRemovedChange:
        // Taken away by someone else (given another parent, or deleted).
        if (m_widget && value.value<QGraphicsItem*>() == m_widget.data()) {
            m_widget->setParentLayoutItem(nullptr);
            m_widget = nullptr;
            m_position = 0;
            layoutWidget();
            updateGeometry();
        }
        break;
    default:
        break;
    }
    return MWidget::itemChange(change, value);
}

void MPannableViewport::focusItemChanged(QGraphicsItem* newFocus)
{
    if (!newFocus || !m_widget || !m_widget->isAncestorOf(newFocus))
        return;
    const QRectF area = newFocus->mapRectToItem(m_widget, newFocus->boundingRect());
    const qreal visible = size().height();
    qreal y = m_position;
    if (area.bottom() > y + visible)
        y = area.bottom() - visible;
    // A field taller than the viewport shows its top.
    if (area.top() < y)
        y = area.top();
    setPosition(QPointF(0, y));
}

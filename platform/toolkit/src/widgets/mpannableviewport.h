// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MPANNABLEVIEWPORT_H
#define MPANNABLEVIEWPORT_H

#include "tesseltouchcore_export.h"
#include "mwidget.h"

#include <QPointer>

class MPositionIndicator;

// Shows one widget, as wide as the viewport and as tall as it wants to be,
// and pans it vertically: by dragging, by the mouse wheel, and to bring a
// field into view when it gains the focus.
class TT_EXPORT MPannableViewport : public MWidget
{
    Q_OBJECT

public:
    explicit MPannableViewport(QGraphicsItem* parent = nullptr);
    ~MPannableViewport() override;

    // The viewport takes the widget as its child; a widget set before is
    // released (its parent item cleared), not deleted.
    void setWidget(QGraphicsWidget* widget);
    QGraphicsWidget* widget() const;
    MPositionIndicator* positionIndicator() const;

    // How far the widget is panned: (0, y) with 0 <= y <= its height - the
    // viewport's height.
    QPointF position() const;
    void setPosition(const QPointF& position);

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint = QSizeF()) const override;
    void resizeEvent(QGraphicsSceneResizeEvent* event) override;
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void wheelEvent(QGraphicsSceneWheelEvent* event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    bool event(QEvent* event) override;

private:
    void layoutWidget();
    void focusItemChanged(QGraphicsItem* newFocus);
    qreal maximumPosition() const;
    void startDragging(QGraphicsSceneMouseEvent* event);

    QPointer<QGraphicsWidget> m_widget;
    MPositionIndicator* m_indicator;
    qreal m_position = 0;
    QPointF m_dragStart;
    qreal m_dragStartPosition = 0;
    bool m_dragging = false;
    QMetaObject::Connection m_focusConnection;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MPOSITIONINDICATOR_H
#define MPOSITIONINDICATOR_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

// The thin bar along a pannable viewport's edge that shows which part of
// its contents is in view.
class TT_EXPORT MPositionIndicator : public MWidgetController
{
    Q_OBJECT

public:
    explicit MPositionIndicator(QGraphicsItem* parent = nullptr);
    ~MPositionIndicator() override;

    // The size of the viewport, of its contents, and the contents' position.
    void setViewportSize(const QSizeF& size);
    void setRange(const QRectF& range);
    void setPosition(const QPointF& position);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QSizeF m_viewportSize;
    QRectF m_range;
    QPointF m_position;
};

#endif

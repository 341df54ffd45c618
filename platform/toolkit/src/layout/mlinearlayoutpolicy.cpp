// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlinearlayoutpolicy.h"

#include "mlayout.h"
#include "mwidgetcontroller.h"

#include <QGraphicsLayoutItem>
#include <QWidget>
#include <QVector>

namespace {

// An empty item that takes up free space in proportion to its stretch.
class StretchItem : public QGraphicsLayoutItem
{
public:
    StretchItem() { setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding); }
    void setGeometry(const QRectF& rect) override { QGraphicsLayoutItem::setGeometry(rect); }

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF&) const override
    {
        return which == Qt::MaximumSize ? QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : QSizeF(0, 0);
    }
};

qreal along(const QSizeF& size, bool horizontal)
{
    return horizontal ? size.width() : size.height();
}

qreal across(const QSizeF& size, bool horizontal)
{
    return horizontal ? size.height() : size.width();
}

} // namespace

MLinearLayoutPolicy::MLinearLayoutPolicy(MLayout* layout, Qt::Orientation orientation)
    : MAbstractLayoutPolicy(layout)
    , m_orientation(orientation)
{
}

MLinearLayoutPolicy::~MLinearLayoutPolicy()
{
    // Taken out while they still exist, then deleted.
    const QList<QGraphicsLayoutItem*> stretches = m_stretchItems;
    m_stretchItems.clear();
    for (QGraphicsLayoutItem* stretch : stretches) {
        removeItem(stretch);
        delete stretch;
    }
}

Qt::Orientation MLinearLayoutPolicy::orientation() const
{
    return m_orientation;
}

void MLinearLayoutPolicy::setOrientation(Qt::Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    invalidateLayout();
}

void MLinearLayoutPolicy::addItem(QGraphicsLayoutItem* item, Qt::Alignment alignment)
{
    insertItem(-1, item, alignment);
}

void MLinearLayoutPolicy::insertItem(int index, QGraphicsLayoutItem* item, Qt::Alignment alignment)
{
    if (!item)
        return;
    m_alignments.insert(item, alignment);
    insertItemAt(index, item);
}

void MLinearLayoutPolicy::addStretch(int stretch)
{
    insertStretch(-1, stretch);
}

void MLinearLayoutPolicy::insertStretch(int index, int stretch)
{
    auto* item = new StretchItem;
    m_stretchItems.append(item);
    m_stretch.insert(item, stretch);
    insertItemAt(index, item);
}

void MLinearLayoutPolicy::removeAt(int index)
{
    QGraphicsLayoutItem* item = itemAt(index);
    MAbstractLayoutPolicy::removeAt(index);
    if (item && m_stretchItems.removeAll(item) > 0) {
        m_stretch.remove(item);
        delete item;
    }
}

void MLinearLayoutPolicy::setAlignment(QGraphicsLayoutItem* item, Qt::Alignment alignment)
{
    m_alignments.insert(item, alignment);
    invalidateLayout();
}

Qt::Alignment MLinearLayoutPolicy::alignment(QGraphicsLayoutItem* item) const
{
    return m_alignments.value(item);
}

void MLinearLayoutPolicy::setStretchFactor(QGraphicsLayoutItem* item, int stretch)
{
    m_stretch.insert(item, stretch);
    invalidateLayout();
}

int MLinearLayoutPolicy::stretchFactor(QGraphicsLayoutItem* item) const
{
    return m_stretch.value(item, 0);
}

QSizeF MLinearLayoutPolicy::sizeHint(Qt::SizeHint which, const QSizeF& constraint) const
{
    const bool horizontal = m_orientation == Qt::Horizontal;
    qreal length = 0;
    qreal breadth = 0;
    int shown = 0;
    for (int i = 0; i < count(); ++i) {
        QGraphicsLayoutItem* item = itemAt(i);
        const QSizeF itemConstraint = horizontal ? QSizeF(-1, -1) : QSizeF(constraint.width(), -1);
        const QSizeF hint = item->effectiveSizeHint(which, itemConstraint);
        const QSizePolicy policy = item->sizePolicy();
        const bool ignored = (horizontal ? policy.horizontalPolicy() : policy.verticalPolicy())
            & QSizePolicy::IgnoreFlag;
        length += ignored && which != Qt::MinimumSize ? 0 : along(hint, horizontal);
        breadth = qMax(breadth, across(hint, horizontal));
        ++shown;
    }
    if (shown > 1)
        length += spacing() * (shown - 1);
    return horizontal ? QSizeF(length, breadth) : QSizeF(breadth, length);
}

void MLinearLayoutPolicy::relayout(const QRectF& rect)
{
    const int n = count();
    if (n == 0)
        return;
    const bool horizontal = m_orientation == Qt::Horizontal;
    const qreal length = along(rect.size(), horizontal);
    const qreal breadth = across(rect.size(), horizontal);
    const qreal gaps = spacing() * (n - 1);

    QVector<qreal> minimum(n), preferred(n), maximum(n), weight(n), size(n);
    QVector<QSizePolicy::Policy> policies(n);
    bool anyStretch = false;
    bool anyExpanding = false;
    for (int i = 0; i < n; ++i) {
        QGraphicsLayoutItem* item = itemAt(i);
        const QSizeF constraint = horizontal ? QSizeF(-1, -1) : QSizeF(breadth, -1);
        minimum[i] = along(item->effectiveSizeHint(Qt::MinimumSize, constraint), horizontal);
        preferred[i] = along(item->effectiveSizeHint(Qt::PreferredSize, constraint), horizontal);
        maximum[i] = along(item->effectiveSizeHint(Qt::MaximumSize, constraint), horizontal);
        const QSizePolicy policy = item->sizePolicy();
        policies[i] = horizontal ? policy.horizontalPolicy() : policy.verticalPolicy();
        if (policies[i] & QSizePolicy::IgnoreFlag)
            preferred[i] = minimum[i] = 0;
        anyStretch |= stretchFactor(item) > 0;
        anyExpanding |= bool(policies[i] & (QSizePolicy::ExpandFlag | QSizePolicy::IgnoreFlag));
        size[i] = preferred[i];
    }

    qreal total = gaps;
    for (qreal p : qAsConst(preferred))
        total += p;

    if (length >= total) {
        // Extra space: by stretch factor, else to expanding items, else to
        // those that may grow; never beyond an item's maximum.
        for (int i = 0; i < n; ++i) {
            const QSizePolicy::Policy p = policies[i];
            weight[i] = anyStretch      ? stretchFactor(itemAt(i))
                : anyExpanding          ? ((p & (QSizePolicy::ExpandFlag | QSizePolicy::IgnoreFlag)) ? 1 : 0)
                                        : ((p & QSizePolicy::GrowFlag) ? 1 : 0);
        }
        qreal extra = length - total;
        for (int round = 0; round < n && extra > 0.5; ++round) {
            qreal weights = 0;
            for (int i = 0; i < n; ++i) {
                if (weight[i] > 0 && size[i] < maximum[i])
                    weights += weight[i];
            }
            if (weights <= 0)
                break;
            qreal given = 0;
            for (int i = 0; i < n; ++i) {
                if (weight[i] <= 0 || size[i] >= maximum[i])
                    continue;
                const qreal share = qMin(extra * weight[i] / weights, maximum[i] - size[i]);
                size[i] += share;
                given += share;
            }
            extra -= given;
        }
    } else {
        // Too little space: shrink what may shrink, toward its minimum.
        qreal shrinkable = 0;
        for (int i = 0; i < n; ++i) {
            if (policies[i] & QSizePolicy::ShrinkFlag)
                shrinkable += preferred[i] - minimum[i];
        }
        const qreal deficit = total - length;
        for (int i = 0; i < n && shrinkable > 0; ++i) {
            if (policies[i] & QSizePolicy::ShrinkFlag)
                size[i] = preferred[i] - qMin(deficit, shrinkable) * (preferred[i] - minimum[i]) / shrinkable;
        }
    }

    qreal position = horizontal ? rect.left() : rect.top();
    for (int i = 0; i < n; ++i) {
        QGraphicsLayoutItem* item = itemAt(i);
        const Qt::Alignment alignment = m_alignments.value(item);
        const qreal cell = size[i];
        const qreal itemLength = qMin(cell, maximum[i]);

        const QSizeF constraint = horizontal ? QSizeF(itemLength, -1) : QSizeF(-1, -1);
        const QSizePolicy policy = item->sizePolicy();
        const QSizePolicy::Policy crossPolicy = horizontal ? policy.verticalPolicy() : policy.horizontalPolicy();
        const qreal crossMin = across(item->effectiveSizeHint(Qt::MinimumSize, constraint), horizontal);
        const qreal crossPref = across(item->effectiveSizeHint(Qt::PreferredSize, constraint), horizontal);
        const qreal crossMax = across(item->effectiveSizeHint(Qt::MaximumSize, constraint), horizontal);
        qreal itemBreadth = (crossPolicy & (QSizePolicy::GrowFlag | QSizePolicy::ExpandFlag | QSizePolicy::IgnoreFlag))
            ? qMin(breadth, crossMax)
            : qMin(breadth, crossPref);
        itemBreadth = qMax(itemBreadth, qMin(crossMin, breadth));

        // Placement inside the cell, by the item's alignment.
        qreal alongOffset = 0;
        qreal crossOffset = 0;
        const Qt::Alignment alongAlign = alignment & (horizontal ? Qt::AlignHorizontal_Mask : Qt::AlignVertical_Mask);
        const Qt::Alignment crossAlign = alignment & (horizontal ? Qt::AlignVertical_Mask : Qt::AlignHorizontal_Mask);
        if (alongAlign & (Qt::AlignRight | Qt::AlignBottom))
            alongOffset = cell - itemLength;
        else if (alongAlign & (Qt::AlignHCenter | Qt::AlignVCenter))
            alongOffset = (cell - itemLength) / 2;
        if (crossAlign & (Qt::AlignRight | Qt::AlignBottom))
            crossOffset = breadth - itemBreadth;
        else if (crossAlign & (Qt::AlignHCenter | Qt::AlignVCenter))
            crossOffset = (breadth - itemBreadth) / 2;

        const QRectF geometry = horizontal
            ? QRectF(position + alongOffset, rect.top() + crossOffset, itemLength, itemBreadth)
            : QRectF(rect.left() + crossOffset, position + alongOffset, itemBreadth, itemLength);
        item->setGeometry(geometry);
        position += cell + spacing();
    }
}

void MLinearLayoutPolicy::updateLayoutPositions()
{
    QList<MWidgetController*> controllers;
    for (int i = 0; i < count(); ++i) {
        QGraphicsItem* graphics = itemAt(i)->graphicsItem();
        if (auto* controller = graphics ? qobject_cast<MWidgetController*>(graphics->toGraphicsObject()) : nullptr)
            controllers.append(controller);
    }
    const bool horizontal = m_orientation == Qt::Horizontal;
    for (int i = 0; i < controllers.size(); ++i) {
        M::Position position = M::DefaultPosition;
        if (controllers.size() > 1) {
            if (i == 0)
                position = horizontal ? M::HorizontalLeftPosition : M::VerticalTopPosition;
            else if (i == controllers.size() - 1)
                position = horizontal ? M::HorizontalRightPosition : M::VerticalBottomPosition;
            else
                position = horizontal ? M::HorizontalCenterPosition : M::VerticalCenterPosition;
        }
        controllers.at(i)->setLayoutPosition(position);
    }
}

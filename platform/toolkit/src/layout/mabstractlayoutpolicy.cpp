// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mabstractlayoutpolicy.h"

#include "mlayout.h"

MAbstractLayoutPolicy::MAbstractLayoutPolicy(MLayout* layout)
    : m_layout(layout)
{
    layout->registerPolicy(this);
}

MAbstractLayoutPolicy::~MAbstractLayoutPolicy()
{
    if (m_layout->m_deleting)
        return;
    const QList<QGraphicsLayoutItem*> items = m_items;
    m_items.clear();
    m_members.clear();
    m_layout->unregisterPolicy(this);
    for (QGraphicsLayoutItem* item : items)
        m_layout->itemRemoved(item);
}

MLayout* MAbstractLayoutPolicy::layout() const
{
    return m_layout;
}

void MAbstractLayoutPolicy::activate()
{
    m_layout->setPolicy(this);
}

bool MAbstractLayoutPolicy::isActive() const
{
    return m_layout->policy() == this;
}

int MAbstractLayoutPolicy::count() const
{
    return m_items.count();
}

QGraphicsLayoutItem* MAbstractLayoutPolicy::itemAt(int index) const
{
    return m_items.value(index);
}

int MAbstractLayoutPolicy::indexOf(const QGraphicsLayoutItem* item) const
{
    return m_items.indexOf(const_cast<QGraphicsLayoutItem*>(item));
}

void MAbstractLayoutPolicy::removeAt(int index)
{
    if (index < 0 || index >= m_items.count())
        return;
    QGraphicsLayoutItem* item = m_items.takeAt(index);
    m_members.remove(item);
    m_layout->itemRemoved(item);
}

void MAbstractLayoutPolicy::removeItem(const QGraphicsLayoutItem* item)
{
    if (!contains(item))
        return;
    const int index = indexOf(item);
    if (index >= 0)
        removeAt(index);
}

bool MAbstractLayoutPolicy::contains(const QGraphicsLayoutItem* item) const
{
    return m_members.contains(item);
}

void MAbstractLayoutPolicy::setSpacing(qreal spacing)
{
    m_spacing = spacing;
    invalidateLayout();
}

qreal MAbstractLayoutPolicy::spacing() const
{
    return m_spacing;
}

void MAbstractLayoutPolicy::setNotifyWidgetsOfLayoutPositionEnabled(bool enabled)
{
    m_notifyPositions = enabled;
    if (enabled)
        updateLayoutPositions();
}

bool MAbstractLayoutPolicy::isNotifyWidgetsOfLayoutPositionEnabled() const
{
    return m_notifyPositions;
}

void MAbstractLayoutPolicy::insertItemAt(int index, QGraphicsLayoutItem* item)
{
    if (!item || contains(item))
        return;
    m_items.insert(qBound(0, index < 0 ? m_items.count() : index, m_items.count()), item);
    m_members.insert(item);
    m_layout->itemAdded(item);
    if (m_notifyPositions)
        updateLayoutPositions();
}

void MAbstractLayoutPolicy::invalidateLayout()
{
    m_layout->invalidate();
}

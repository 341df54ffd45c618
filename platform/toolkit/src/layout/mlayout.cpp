// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlayout.h"

#include "mabstractlayoutpolicy.h"
#include "mwindow.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGraphicsWidget>
#include <QPointer>
#include <QWidget>

namespace {

// The widget a layout belongs to, through any layouts it is nested in.
QGraphicsWidget* ownerWidget(const QGraphicsLayoutItem* item)
{
    for (const QGraphicsLayoutItem* parent = item->parentLayoutItem(); parent;
         parent = parent->parentLayoutItem()) {
        if (!parent->isLayout())
            return static_cast<QGraphicsWidget*>(const_cast<QGraphicsLayoutItem*>(parent));
    }
    return nullptr;
}

M::Orientation orientationOf(const QGraphicsLayoutItem* layout)
{
    if (QGraphicsWidget* widget = ownerWidget(layout); widget && widget->scene()) {
        const QList<QGraphicsView*> views = widget->scene()->views();
        for (QGraphicsView* view : views) {
            if (auto* window = qobject_cast<MWindow*>(view))
                return window->orientation();
        }
    }
    return M::Landscape;
}

} // namespace

MLayout::MLayout(QGraphicsLayoutItem* parent)
    : QGraphicsLayout(parent)
{
}

MLayout::~MLayout()
{
    m_deleting = true;
    for (QGraphicsLayoutItem* item : qAsConst(m_hiddenByLayout)) {
        if (QGraphicsItem* graphics = item->graphicsItem())
            graphics->show();
    }
    for (QGraphicsLayoutItem* item : qAsConst(m_items))
        item->setParentLayoutItem(nullptr);
    qDeleteAll(m_policies);
}

void MLayout::registerPolicy(MAbstractLayoutPolicy* policy)
{
    m_policies.append(policy);
    if (!m_policy)
        m_policy = policy;
}

void MLayout::unregisterPolicy(MAbstractLayoutPolicy* policy)
{
    m_policies.removeAll(policy);
    if (m_landscapePolicy == policy)
        m_landscapePolicy = nullptr;
    if (m_portraitPolicy == policy)
        m_portraitPolicy = nullptr;
    if (m_policy == policy)
        m_policy = m_policies.value(0);
    invalidate();
}

void MLayout::setPolicy(MAbstractLayoutPolicy* policy)
{
    if (!policy || policy->layout() != this || policy == m_policy)
        return;
    m_policy = policy;
    updateVisibility();
    invalidate();
}

MAbstractLayoutPolicy* MLayout::policy() const
{
    return m_policy;
}

void MLayout::setLandscapePolicy(MAbstractLayoutPolicy* policy)
{
    m_landscapePolicy = policy;
    invalidate();
}

MAbstractLayoutPolicy* MLayout::landscapePolicy() const
{
    return m_landscapePolicy;
}

void MLayout::setPortraitPolicy(MAbstractLayoutPolicy* policy)
{
    m_portraitPolicy = policy;
    invalidate();
}

MAbstractLayoutPolicy* MLayout::portraitPolicy() const
{
    return m_portraitPolicy;
}

QList<MAbstractLayoutPolicy*> MLayout::registeredPolicies() const
{
    return m_policies;
}

int MLayout::indexOf(const QGraphicsLayoutItem* item) const
{
    return m_items.indexOf(const_cast<QGraphicsLayoutItem*>(item));
}

void MLayout::removeItem(const QGraphicsLayoutItem* item)
{
    for (MAbstractLayoutPolicy* policy : qAsConst(m_policies))
        policy->removeItem(item);
}

int MLayout::count() const
{
    return m_items.count();
}

QGraphicsLayoutItem* MLayout::itemAt(int index) const
{
    return m_items.value(index);
}

void MLayout::removeAt(int index)
{
    if (QGraphicsLayoutItem* item = m_items.value(index))
        removeItem(item);
}

void MLayout::itemAdded(QGraphicsLayoutItem* item)
{
    if (!m_members.contains(item)) {
        m_items.append(item);
        m_members.insert(item);
        addChildLayoutItem(item);
    }
    // No other item's place among the policies changed.
    updateVisibility(item);
    invalidate();
}

void MLayout::itemRemoved(QGraphicsLayoutItem* item)
{
    // The item may be in the middle of its destruction (a widget leaves its
    // layout from its base destructor): nothing here may call into it beyond
    // the layout-item bookkeeping. Visibility follows at the next layout pass.
    if (m_deleting)
        return;
    for (MAbstractLayoutPolicy* policy : qAsConst(m_policies)) {
        if (policy->contains(item)) {
            invalidate();
            return;
        }
    }
    // In no policy any more: no longer an item of the layout. What the
    // layout hid is shown again, once it is sure to be alive.
    m_items.removeOne(item);
    m_members.remove(item);
    if (m_hiddenByLayout.remove(item)) {
        QGraphicsItem* graphics = item->graphicsItem();
        if (QGraphicsObject* object = graphics ? graphics->toGraphicsObject() : nullptr) {
            QPointer<QGraphicsObject> guard(object);
            QMetaObject::invokeMethod(object, [guard] {
                if (guard)
                    guard->show();
            }, Qt::QueuedConnection);
        }
    }
    item->setParentLayoutItem(nullptr);
    invalidate();
}

void MLayout::followOrientation()
{
    if (!m_landscapePolicy && !m_portraitPolicy)
        return;
    MAbstractLayoutPolicy* wanted = orientationOf(this) == M::Portrait
        ? (m_portraitPolicy ? m_portraitPolicy : m_landscapePolicy)
        : (m_landscapePolicy ? m_landscapePolicy : m_portraitPolicy);
    if (wanted != m_policy) {
        m_policy = wanted;
        updateVisibility();
    }
}

void MLayout::updateVisibility()
{
    // Only the items of the active policy are shown; the layout shows again
    // only what it hid itself.
    for (QGraphicsLayoutItem* item : qAsConst(m_items))
        updateVisibility(item);
}

void MLayout::updateVisibility(QGraphicsLayoutItem* item)
{
    QGraphicsItem* graphics = item->graphicsItem();
    if (!graphics)
        return;
    const bool wanted = m_policy && m_policy->contains(item);
    // Visible in its own right, whether or not its parent is shown yet.
    if (!wanted && graphics->isVisibleTo(graphics->parentItem())) {
        graphics->hide();
        m_hiddenByLayout.insert(item);
    } else if (wanted && m_hiddenByLayout.remove(item)) {
        graphics->show();
    }
}

void MLayout::setGeometry(const QRectF& rect)
{
    QGraphicsLayout::setGeometry(rect);
    followOrientation();
    updateVisibility();
    if (!m_policy)
        return;
    qreal left, top, right, bottom;
    getContentsMargins(&left, &top, &right, &bottom);
    m_policy->relayout(geometry().adjusted(left, top, -right, -bottom));
    if (m_policy->isNotifyWidgetsOfLayoutPositionEnabled())
        m_policy->updateLayoutPositions();
}

void MLayout::invalidate()
{
    QGraphicsLayout::invalidate();
}

QSizeF MLayout::sizeHint(Qt::SizeHint which, const QSizeF& constraint) const
{
    const_cast<MLayout*>(this)->followOrientation();
    qreal left, top, right, bottom;
    getContentsMargins(&left, &top, &right, &bottom);
    if (which == Qt::MaximumSize)
        return QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!m_policy)
        return QSizeF(left + right, top + bottom);
    QSizeF inner = constraint;
    if (inner.width() >= 0)
        inner.setWidth(qMax<qreal>(0, inner.width() - left - right));
    if (inner.height() >= 0)
        inner.setHeight(qMax<qreal>(0, inner.height() - top - bottom));
    const QSizeF hint = m_policy->sizeHint(which, inner);
    return QSizeF(hint.width() + left + right, hint.height() + top + bottom);
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MABSTRACTLAYOUTPOLICY_H
#define MABSTRACTLAYOUTPOLICY_H

#include "tesseltouchcore_export.h"

#include <QList>
#include <QSet>
#include <QRectF>
#include <QSizeF>

class MLayout;
class QGraphicsLayoutItem;

// One arrangement of (some of) an MLayout's items. Made on a layout, which
// owns it; activate() makes it the layout's current one.
class TT_EXPORT MAbstractLayoutPolicy
{
public:
    explicit MAbstractLayoutPolicy(MLayout* layout);
    virtual ~MAbstractLayoutPolicy();

    MLayout* layout() const;
    void activate();
    bool isActive() const;

    int count() const;
    QGraphicsLayoutItem* itemAt(int index) const;
    int indexOf(const QGraphicsLayoutItem* item) const;
    virtual void removeAt(int index);
    void removeItem(const QGraphicsLayoutItem* item);

    void setSpacing(qreal spacing);
    qreal spacing() const;

    // Tells every MWidgetController of the policy where it stands in the
    // row or column (M::Position), so that it can draw itself as a part.
    void setNotifyWidgetsOfLayoutPositionEnabled(bool enabled);
    bool isNotifyWidgetsOfLayoutPositionEnabled() const;

protected:
    void insertItemAt(int index, QGraphicsLayoutItem* item);
    // Places the items within @p rect (the layout's contents rectangle).
    virtual void relayout(const QRectF& rect) = 0;
    virtual QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint) const = 0;
    virtual void updateLayoutPositions() {}
    void invalidateLayout();

private:
    friend class MLayout;
    bool contains(const QGraphicsLayoutItem* item) const;

    MLayout* m_layout;
    QList<QGraphicsLayoutItem*> m_items;
    // The same items, for asking about one without a walk through a long list.
    QSet<const QGraphicsLayoutItem*> m_members;
    qreal m_spacing = 0;
    bool m_notifyPositions = false;
};

#endif

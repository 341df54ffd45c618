// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MLAYOUT_H
#define MLAYOUT_H

#include "tesseltouchcore_export.h"
#include "mnamespace.h"

#include <QGraphicsLayout>
#include <QList>
#include <QSet>

class MAbstractLayoutPolicy;

// A layout whose arrangement is chosen by one of its policies: each policy
// holds its own ordered subset of the layout's items, and only the items of
// the active policy are shown. With a landscape and a portrait policy set,
// the layout activates the one that fits its window's orientation.
//
// The layout owns its policies; items are not owned (widgets become
// children of the layout's widget, as with any layout).
class TT_EXPORT MLayout : public QGraphicsLayout
{
public:
    explicit MLayout(QGraphicsLayoutItem* parent = nullptr);
    ~MLayout() override;

    void setPolicy(MAbstractLayoutPolicy* policy);
    MAbstractLayoutPolicy* policy() const;
    void setLandscapePolicy(MAbstractLayoutPolicy* policy);
    MAbstractLayoutPolicy* landscapePolicy() const;
    void setPortraitPolicy(MAbstractLayoutPolicy* policy);
    MAbstractLayoutPolicy* portraitPolicy() const;
    QList<MAbstractLayoutPolicy*> registeredPolicies() const;

    int indexOf(const QGraphicsLayoutItem* item) const;
    // Removes the item from every policy.
    void removeItem(const QGraphicsLayoutItem* item);

    // QGraphicsLayout: the items of all policies together.
    int count() const override;
    QGraphicsLayoutItem* itemAt(int index) const override;
    void removeAt(int index) override;
    void setGeometry(const QRectF& rect) override;
    void invalidate() override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint = QSizeF()) const override;

private:
    friend class MAbstractLayoutPolicy;
    void registerPolicy(MAbstractLayoutPolicy* policy);
    void unregisterPolicy(MAbstractLayoutPolicy* policy);
    void itemAdded(QGraphicsLayoutItem* item);
    void itemRemoved(QGraphicsLayoutItem* item);
    void followOrientation();
    void updateVisibility();
    void updateVisibility(QGraphicsLayoutItem* item);

    QList<QGraphicsLayoutItem*> m_items;
    // The same items, for asking about one without a walk through a long list.
    QSet<const QGraphicsLayoutItem*> m_members;
    QList<MAbstractLayoutPolicy*> m_policies;
    QSet<QGraphicsLayoutItem*> m_hiddenByLayout;
    MAbstractLayoutPolicy* m_policy = nullptr;
    MAbstractLayoutPolicy* m_landscapePolicy = nullptr;
    MAbstractLayoutPolicy* m_portraitPolicy = nullptr;
    bool m_deleting = false;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MLINEARLAYOUTPOLICY_H
#define MLINEARLAYOUTPOLICY_H

#include "tesseltouchcore_export.h"
#include "mabstractlayoutpolicy.h"

#include <QHash>
#include <Qt>

// Items in one row (horizontal) or one column (vertical). Extra space goes
// to the items with a stretch factor, else to those whose size policy
// expands (or ignores its size hint), else to those that may grow; across
// the line each item takes the full breadth it may, else sits by its
// alignment.
class TT_EXPORT MLinearLayoutPolicy : public MAbstractLayoutPolicy
{
public:
    MLinearLayoutPolicy(MLayout* layout, Qt::Orientation orientation);
    ~MLinearLayoutPolicy() override;

    Qt::Orientation orientation() const;
    void setOrientation(Qt::Orientation orientation);

    void addItem(QGraphicsLayoutItem* item, Qt::Alignment alignment = Qt::Alignment());
    void insertItem(int index, QGraphicsLayoutItem* item, Qt::Alignment alignment = Qt::Alignment());
    void addStretch(int stretch = 1);
    void insertStretch(int index, int stretch = 1);
    void removeAt(int index) override;

    void setAlignment(QGraphicsLayoutItem* item, Qt::Alignment alignment);
    Qt::Alignment alignment(QGraphicsLayoutItem* item) const;
    void setStretchFactor(QGraphicsLayoutItem* item, int stretch);
    int stretchFactor(QGraphicsLayoutItem* item) const;

protected:
    void relayout(const QRectF& rect) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;
    void updateLayoutPositions() override;

private:
    Qt::Orientation m_orientation;
    QHash<const QGraphicsLayoutItem*, Qt::Alignment> m_alignments;
    QHash<const QGraphicsLayoutItem*, int> m_stretch;
    QList<QGraphicsLayoutItem*> m_stretchItems;
};

#endif

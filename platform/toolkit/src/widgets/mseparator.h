// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MSEPARATOR_H
#define MSEPARATOR_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

// A divider line, horizontal or vertical.
class TT_EXPORT MSeparator : public MWidgetController
{
    Q_OBJECT

public:
    explicit MSeparator(QGraphicsItem* parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);
    ~MSeparator() override;

    Qt::Orientation orientation() const;
    void setOrientation(Qt::Orientation orientation);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;

private:
    Qt::Orientation m_orientation;
};

#endif

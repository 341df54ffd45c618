// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MLISTITEM_H
#define MLISTITEM_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

// A row of a list that reacts to taps. What it shows is up to its layout.
class TT_EXPORT MListItem : public MWidgetController
{
    Q_OBJECT

public:
    explicit MListItem(QGraphicsItem* parent = nullptr);
    ~MListItem() override;

    const char* styleClassName() const override;

public Q_SLOTS:
    void click();

Q_SIGNALS:
    void clicked();

protected:
    QColor backgroundColor() const override;
    void tapEvent() override;
    void keyPressEvent(QKeyEvent* event) override;
};

#endif

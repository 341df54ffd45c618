// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlistitem.h"

MListItem::MListItem(QGraphicsItem* parent)
    : MWidgetController(parent)
{
    setTappable(true);
    applyStyle();
}

MListItem::~MListItem() = default;

const char* MListItem::styleClassName() const
{
    return "MListItemStyle";
}

void MListItem::click()
{
    Q_EMIT clicked();
}

void MListItem::tapEvent()
{
    click();
}

QColor MListItem::backgroundColor() const
{
    const QColor accent = style()->accentColor();
    if (isPressed() && accent.isValid())
        return accent;
    return MWidgetController::backgroundColor();
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlistitem.h"

#include <QKeyEvent>

MListItem::MListItem(QGraphicsItem* parent)
    : MWidgetController(parent)
{
    setTappable(true);
    setFocusPolicy(Qt::TabFocus);
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

void MListItem::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    MWidgetController::keyPressEvent(event);
}

QColor MListItem::backgroundColor() const
{
    const QColor accent = style()->accentColor();
    if (isPressed() && accent.isValid())
        return accent;
    return MWidgetController::backgroundColor();
}

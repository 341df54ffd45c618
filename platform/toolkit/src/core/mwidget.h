// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MWIDGET_H
#define MWIDGET_H

#include "tesseltouchcore_export.h"

#include <QGraphicsWidget>

// The base of every toolkit widget: a QGraphicsWidget that knows whether it
// is on display, that is visible, in a scene, and that scene shown in a
// visible window.
class TT_EXPORT MWidget : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit MWidget(QGraphicsItem* parent = nullptr);
    ~MWidget() override;

    bool isOnDisplay() const;

Q_SIGNALS:
    void displayEntered();
    void displayExited();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    friend class MWindowPrivate;
    void updateDisplayState();

    bool m_onDisplay = false;
};

#endif

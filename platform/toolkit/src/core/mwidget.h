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

    /// The name assistive technology reads for this widget, or empty for the
    /// widget's own text.
    QString accessibleName() const;
    /// Names the widget for assistive technology; a change is announced to
    /// a listening client.
    void setAccessibleName(const QString& name);
    /// The longer explanation assistive technology reads after the name.
    QString accessibleDescription() const;
    /// Sets the description; a change is announced to a listening client.
    void setAccessibleDescription(const QString& description);

Q_SIGNALS:
    void displayEntered();
    void displayExited();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class MWindowPrivate;
    void updateDisplayState();

    bool m_onDisplay = false;
    QString m_accessibleName;
    QString m_accessibleDescription;
};

#endif

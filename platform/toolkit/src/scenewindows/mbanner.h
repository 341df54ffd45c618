// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MBANNER_H
#define MBANNER_H

#include "tesseltouchcore_export.h"
#include "mscenewindow.h"

class MImageWidget;
class MLabel;
class QTimer;

// A transient banner at the top of its window: a title beside an optional
// icon. Once it has appeared it disappears by itself after displayTime();
// with the DestroyWhenDone policy it is then deleted.
class TT_EXPORT MBanner : public MSceneWindow
{
    Q_OBJECT

public:
    MBanner();
    ~MBanner() override;

    QString title() const;
    void setTitle(const QString& title);
    QString iconID() const;
    void setIconID(const QString& iconId);

    // How long it stays once appeared, in milliseconds (3000 by default).
    int displayTime() const;
    void setDisplayTime(int milliseconds);

    const char* styleClassName() const override;

protected:
    QRectF placement(const QSizeF& size) const override;
    void applyStyle() override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    MLabel* m_title;
    MImageWidget* m_icon;
    QTimer* m_timer;
};

#endif

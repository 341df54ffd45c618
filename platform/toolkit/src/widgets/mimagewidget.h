// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MIMAGEWIDGET_H
#define MIMAGEWIDGET_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

#include <QImage>

// An image: a theme icon named by its identifier, or an image of the caller's.
// Scaled to fit, keeping its aspect ratio.
class TT_EXPORT MImageWidget : public MWidgetController
{
    Q_OBJECT

public:
    explicit MImageWidget(QGraphicsItem* parent = nullptr);
    explicit MImageWidget(const QString& iconId, QGraphicsItem* parent = nullptr);
    ~MImageWidget() override;

    // The theme icon identifier; empty when showing an image of the caller's.
    QString image() const;
    void setImage(const QString& iconId);
    void setImage(const QImage& image);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;

private:
    QString m_iconId;
    QImage m_image;
};

#endif

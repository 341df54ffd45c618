// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mimagewidget.h"

#include <QPainter>

MImageWidget::MImageWidget(QGraphicsItem* parent)
    : MImageWidget(QString(), parent)
{
}

MImageWidget::MImageWidget(const QString& iconId, QGraphicsItem* parent)
    : MWidgetController(parent)
    , m_iconId(iconId)
{
    applyStyle();
}

MImageWidget::~MImageWidget() = default;

const char* MImageWidget::styleClassName() const
{
    return "MImageWidgetStyle";
}

QString MImageWidget::image() const
{
    return m_iconId;
}

void MImageWidget::setImage(const QString& iconId)
{
    m_iconId = iconId;
    m_image = QImage();
    updateGeometry();
    update();
}

void MImageWidget::setImage(const QImage& image)
{
    m_iconId.clear();
    m_image = image;
    updateGeometry();
    update();
}

QSizeF MImageWidget::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    if (which == Qt::MaximumSize)
        return QSizeF(-1, -1);
    const MWidgetStyle* s = style();
    auto square = [s](const char* name) {
        const qreal side = s->number(QString::fromLatin1(name));
        return QSizeF(side, side);
    };
    if (which == Qt::MinimumSize)
        return square("minimum-content-size");
    // A caller's image keeps its proportions, within the largest size.
    if (!m_image.isNull())
        return QSizeF(m_image.size()).scaled(square("maximum-content-size"), Qt::KeepAspectRatio);
    return square("content-size");
}

void MImageWidget::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    const QRectF area = contentsRect();
    if (area.isEmpty())
        return;
    const qreal side = qMin(area.width(), area.height());
    if (!m_image.isNull()) {
        QSizeF size = QSizeF(m_image.size()).scaled(area.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), size);
        target.moveCenter(area.center());
        painter->drawImage(target, m_image);
    } else if (!m_iconId.isEmpty()) {
        QRectF target(0, 0, side, side);
        target.moveCenter(area.center());
        painter->drawPixmap(target.toRect(), MTheme::pixmap(m_iconId, QSize(int(side), int(side))));
    }
}

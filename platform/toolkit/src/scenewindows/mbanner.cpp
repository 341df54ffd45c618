// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mbanner.h"

#include "mimagewidget.h"
#include "mlabel.h"

#include <QGraphicsLinearLayout>
#include <QGraphicsSceneMouseEvent>
#include <QTimer>

MBanner::MBanner()
    : m_title(new MLabel)
    , m_icon(new MImageWidget)
    , m_timer(new QTimer(this))
{
    auto* layout = new QGraphicsLinearLayout(Qt::Horizontal, this);
    m_icon->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_icon->hide();
    m_title->setWordWrap(true);
    layout->addItem(m_icon);
    layout->addItem(m_title);
    layout->setAlignment(m_icon, Qt::AlignVCenter);

    m_timer->setSingleShot(true);
    m_timer->setInterval(3000);
    connect(m_timer, &QTimer::timeout, this, &MSceneWindow::disappear);
    connect(this, &MSceneWindow::appeared, m_timer, QOverload<>::of(&QTimer::start));
    connect(this, &MSceneWindow::disappeared, m_timer, &QTimer::stop);
    applyStyle();
}

MBanner::~MBanner() = default;

const char* MBanner::styleClassName() const
{
    return "MBannerStyle";
}

QString MBanner::title() const
{
    return m_title->text();
}

void MBanner::setTitle(const QString& title)
{
    m_title->setText(title);
}

QString MBanner::iconID() const
{
    return m_icon->image();
}

void MBanner::setIconID(const QString& iconId)
{
    m_icon->setImage(iconId);
    m_icon->setVisible(!iconId.isEmpty());
}

int MBanner::displayTime() const
{
    return m_timer->interval();
}

void MBanner::setDisplayTime(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

void MBanner::applyStyle()
{
    MSceneWindow::applyStyle();
    const MWidgetStyle* s = style();
    // The banner's text takes the banner's colours.
    m_title->setColor(s->color());
    const qreal iconSize = s->number(QStringLiteral("icon-size"));
    m_icon->setPreferredSize(iconSize, iconSize);
    if (auto* row = static_cast<QGraphicsLinearLayout*>(layout()))
        row->setSpacing(s->number(QStringLiteral("spacing")));
}

QRectF MBanner::placement(const QSizeF& size) const
{
    const qreal width = size.width();
    const qreal height = effectiveSizeHint(Qt::PreferredSize, QSizeF(width, -1)).height();
    return QRectF(0, 0, width, qMin(height, size.height() / 2));
}

void MBanner::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    // A tap sends the banner away at once.
    event->accept();
    disappear();
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/drilldownitem.h>

#include <MImageWidget>
#include <MLabel>

#include <QGraphicsLinearLayout>
#include <QPointer>

namespace Pavane {

namespace {

QGraphicsLinearLayout* newLayout(Qt::Orientation orientation)
{
    auto* layout = new QGraphicsLinearLayout(orientation);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

class DrillDownItemPrivate
{
public:
    explicit DrillDownItemPrivate(DrillDownItem* q);

    DrillDownItem* const q;
    QGraphicsLinearLayout* mainLayout;
    QGraphicsLinearLayout* textLayout;
    // Guarded: the host made it and may delete it itself.
    QPointer<MImageWidget> image;
    MLabel* titleLabel;
    MLabel* subtitleLabel = nullptr;
};

DrillDownItemPrivate::DrillDownItemPrivate(DrillDownItem* q)
    : q(q)
    , mainLayout(newLayout(Qt::Horizontal))
    , textLayout(newLayout(Qt::Vertical))
    , titleLabel(new MLabel)
{
    // Styled before it has children: a new style reaches every child.
    q->setStyleName(QStringLiteral("CommonPanel"));
    titleLabel->setStyleName(QStringLiteral("CommonSingleTitle"));
    textLayout->addItem(titleLabel);
    mainLayout->addItem(textLayout);
    mainLayout->addStretch(1);

    auto* arrow = new MImageWidget(QStringLiteral("icon-m-common-drilldown-arrow-inverse"));
    arrow->setStyleName(QStringLiteral("CommonDrilldownIcon"));
    mainLayout->addItem(arrow);
    mainLayout->setAlignment(arrow, Qt::AlignVCenter);
    q->setLayout(mainLayout);
}

DrillDownItem::DrillDownItem(QGraphicsItem* parent)
    : MListItem(parent)
    , d(std::make_unique<DrillDownItemPrivate>(this))
{
    // Its parts lie within the row, which lets a frame pass over rows out of
    // sight without looking at each part: long lists paint as fast as short.
    setFlag(ItemContainsChildrenInShape);
}

DrillDownItem::~DrillDownItem() = default;

QString DrillDownItem::title() const
{
    return d->titleLabel->text();
}

void DrillDownItem::setTitle(const QString& title)
{
    d->titleLabel->setText(title);
    setAccessibleName(title);
}

void DrillDownItem::setSubtitle(const QString& subtitle)
{
    // Set on the row itself, so that a screen reader hears the change.
    setAccessibleDescription(subtitle);
    if (d->subtitleLabel) {
        d->subtitleLabel->setText(subtitle);
        return;
    }
    d->titleLabel->setStyleName(QStringLiteral("CommonTitle"));
    d->subtitleLabel = new MLabel(subtitle);
    d->subtitleLabel->setStyleName(QStringLiteral("CommonSubTitle"));
    d->textLayout->addItem(d->subtitleLabel);
    d->textLayout->addStretch(1);
}

MImageWidget* DrillDownItem::imageWidget() const
{
    return d->image;
}

void DrillDownItem::setImageWidget(MImageWidget* image)
{
    if (image == d->image)
        return;
    delete d->image.data();
    d->image = image;
    if (image) {
        image->setStyleName(QStringLiteral("CommonMainIcon"));
        d->mainLayout->insertItem(0, image);
    }
}

} // namespace Pavane

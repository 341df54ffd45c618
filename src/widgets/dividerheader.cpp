// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/dividerheader.h>

#include <MLabel>
#include <MSeparator>

#include <QGraphicsLinearLayout>
#include <QPointer>

namespace Pavane {

class DividerHeaderPrivate
{
public:
    // Guarded: label() hands it out, and a host may delete it.
    QPointer<MLabel> label;
    QGraphicsLinearLayout* layout = nullptr;
};

DividerHeader::DividerHeader(QString text, QGraphicsItem* parent)
    : MWidgetController(parent)
    , d(std::make_unique<DividerHeaderPrivate>())
{
    d->layout = new QGraphicsLinearLayout(Qt::Horizontal);
    d->layout->setContentsMargins(0, 0, 0, 0);
    d->layout->setSpacing(0);
    setLayout(d->layout);

    auto* divider = new MSeparator(nullptr, Qt::Horizontal);
    divider->setStyleName(QStringLiteral("CommonGroupHeaderDivider"));
    divider->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    d->layout->addItem(divider);
    d->layout->setAlignment(divider, Qt::AlignVCenter);

    d->label = new MLabel(text);
    d->label->setStyleName(QStringLiteral("CommonGroupHeader"));
    d->label->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    d->layout->addItem(d->label);

    setStyleName(QStringLiteral("CommonGroupHeaderPanel"));
}

DividerHeader::~DividerHeader() = default;

MLabel* DividerHeader::label()
{
    return d->label;
}

void DividerHeader::setLabel(MLabel* label)
{
    if (label == d->label)
        return;
    delete d->label.data();
    d->label = label;
    if (label)
        d->layout->addItem(label);
}

} // namespace Pavane

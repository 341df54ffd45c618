// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/headerpanel.h>

#include <MLabel>
#include <MSeparator>

#include <QGraphicsLinearLayout>

namespace Pavane {

class HeaderPanelPrivate
{
public:
    explicit HeaderPanelPrivate(HeaderPanel* q);

    MLabel* label;
    MSeparator* divider;
    HeaderPanel* const q;
};

HeaderPanelPrivate::HeaderPanelPrivate(HeaderPanel* q)
    : label(new MLabel(QString()))
    , divider(new MSeparator(nullptr, Qt::Horizontal))
    , q(q)
{
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical, q);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    label->setTextElide(true);
    label->setStyleName(QStringLiteral("CommonHeader"));
    divider->setStyleName(QStringLiteral("CommonHeaderDivider"));
    layout->addItem(label);
    layout->addItem(divider);
}

HeaderPanel::HeaderPanel(QGraphicsItem* parent)
    : MWidgetController(parent)
    , d(std::make_unique<HeaderPanelPrivate>(this))
{
}

HeaderPanel::HeaderPanel(const QString& text, QGraphicsItem* parent)
    : HeaderPanel(parent)
{
    d->label->setText(text);
}

HeaderPanel::~HeaderPanel() = default;

QString HeaderPanel::text() const
{
    return d->label->text();
}

void HeaderPanel::setText(const QString& text)
{
    d->label->setText(text);
}

} // namespace Pavane

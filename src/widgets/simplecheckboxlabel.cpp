// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simplecheckboxlabel.h>

#include <MButton>
#include <MHelpButton>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MProgressIndicator>

#include <QPointer>

namespace Pavane {

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignVCenter;

MLayout* newLayout(MWidget* widget)
{
    auto* layout = new MLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

} // namespace

// The widgets are children of the row through its layout; the record only
// points at them.
class SimpleCheckBoxLabelPrivate
{
public:
    MLayout* layout = nullptr;
    MLinearLayoutPolicy* mainPolicy = nullptr;
    MLinearLayoutPolicy* progressPolicy = nullptr;
    MLabel* titleLabel = nullptr;
    // What stands for the title in the row: the title label, or, once there
    // is an info text, the container holding both. A widget has one place,
    // so both policies share this one item.
    QGraphicsWidget* titleItem() const;
    MWidget* textStack = nullptr;
    QPointer<MHelpButton> helpButton;
    MProgressIndicator* progressIndicator = nullptr;
    bool progressShown = false;
    // Guarded: the host made it, and may delete it itself.
    QPointer<MButton> button;
    MLabel* infoLabel = nullptr;
};

QGraphicsWidget* SimpleCheckBoxLabelPrivate::titleItem() const
{
    return textStack ? static_cast<QGraphicsWidget*>(textStack) : titleLabel;
}

SimpleCheckBoxLabel::SimpleCheckBoxLabel(MButton* button, const QString& text, QString viewType,
                                         QGraphicsItem* parent)
    : MWidgetController(parent)
    , d(std::make_unique<SimpleCheckBoxLabelPrivate>())
{
    setStyleName(QStringLiteral("CommonPanel"));
    d->button = button;
    d->layout = newLayout(this);
    d->mainPolicy = new MLinearLayoutPolicy(d->layout, Qt::Horizontal);

    d->titleLabel = new MLabel(text);
    d->titleLabel->setWordWrap(true);
    d->titleLabel->setStyleName(QStringLiteral("CommonSingleTitle"));

    // Without a button the row is its title alone.
    if (!button) {
        d->mainPolicy->addItem(d->titleLabel, Left);
        return;
    }
    if (!button->isCheckable())
        button->setCheckable(true);
    // A bare switch says nothing to a screen reader: the row's title names
    // it, unless the host named it already.
    if (button->accessibleName().isEmpty())
        button->setAccessibleName(text);
    button->setViewType(viewType);
    if (viewType == MButton::switchType) {
        button->setStyleName(QStringLiteral("CommonRightSwitch"));
        d->mainPolicy->addItem(d->titleLabel, Left);
        d->mainPolicy->addItem(button, Centre);
    } else {
        d->mainPolicy->addItem(button, Centre);
        d->mainPolicy->addItem(d->titleLabel, Left);
    }
}

SimpleCheckBoxLabel::~SimpleCheckBoxLabel() = default;

void SimpleCheckBoxLabel::setHelpPageId(QString pageId)
{
    if (pageId.isEmpty()) {
        delete d->helpButton.data();
        return;
    }
    if (d->helpButton) {
        d->helpButton->setPageID(pageId);
        return;
    }
    d->helpButton = new MHelpButton(pageId);
    d->helpButton->setViewType(MButton::iconType);
    d->helpButton->setIconID(QStringLiteral("icon-s-description-inverse"));
    d->mainPolicy->insertItem(1, d->helpButton, Right);
}

void SimpleCheckBoxLabel::setInfoText(const QString& text)
{
    if (!d->infoLabel) {
        d->infoLabel = new MLabel;
        d->infoLabel->setWordWrap(true);
        d->infoLabel->setStyleName(QStringLiteral("CommonSubText"));
        // The title and the text stacked, in the title's place in the row,
        // in the normal and in the busy state. The title leaves the row's
        // layout first, so that it keeps its new one.
        const int mainIndex = qMax(0, d->mainPolicy->indexOf(d->titleLabel));
        const int busyIndex = d->progressPolicy ? d->progressPolicy->indexOf(d->titleLabel) : -1;
        d->layout->removeItem(d->titleLabel);
        d->textStack = new MWidget;
        auto* stackPolicy = new MLinearLayoutPolicy(newLayout(d->textStack), Qt::Vertical);
        stackPolicy->addItem(d->titleLabel);
        stackPolicy->addItem(d->infoLabel);
        d->mainPolicy->insertItem(mainIndex, d->textStack, Left);
        if (busyIndex >= 0)
            d->progressPolicy->insertItem(busyIndex, d->textStack, Left);
    }
    d->infoLabel->setText(text);
    if (d->button)
        d->button->setAccessibleDescription(text);
    setStyleName(QStringLiteral("CommonLargePanel"));
    d->layout->invalidate();
}

void SimpleCheckBoxLabel::setShowProgressIndicator(bool show)
{
    if (!show) {
        if (d->progressShown && d->progressIndicator) {
            d->progressShown = false;
            d->mainPolicy->activate();
        }
        return;
    }
    if (!d->progressPolicy) {
        d->progressPolicy = new MLinearLayoutPolicy(d->layout, Qt::Horizontal);
        d->progressPolicy->addItem(d->titleItem(), Left);
        if (d->helpButton)
            d->progressPolicy->addItem(d->helpButton, Right);
    }
    if (!d->progressIndicator) {
        d->progressIndicator = new MProgressIndicator(nullptr, MProgressIndicator::spinnerType);
        d->progressIndicator->setStyleName(QStringLiteral("CommonListItemSpinnerInverted"));
        d->progressIndicator->setUnknownDuration(true);
        d->progressPolicy->addItem(d->progressIndicator, Centre);
    }
    d->progressShown = true;
    d->progressPolicy->activate();
}

} // namespace Pavane

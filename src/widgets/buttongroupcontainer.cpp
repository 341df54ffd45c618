// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/buttongroupcontainer.h>

#include "logging/pavanelogging_p.h"

#include <MButton>
#include <MButtonGroup>
#include <MLayout>
#include <MLinearLayoutPolicy>

#include <QPointer>

namespace Pavane {

class ButtonGroupContainerPrivate
{
public:
    void buildLayout(ButtonGroupContainer* container);
    MLinearLayoutPolicy* newPolicy(Qt::Orientation orientation);

    bool fixedModeEnabled = false;
    Qt::Orientation fixedModeOrientation = Qt::Vertical;
    // Guarded: a caller may delete a button it added; the container then
    // neither reports nor deletes it again.
    QList<QPointer<MButton>> buttons;
    MButtonGroup* buttonGroup = nullptr;
    MLayout* layout = nullptr;
    MLinearLayoutPolicy* landscapePolicy = nullptr;
    MLinearLayoutPolicy* portraitPolicy = nullptr;
    // Ignored horizontally: the buttons share the width equally, whatever
    // their texts.
    QSizePolicy buttonSizePolicy{QSizePolicy::Ignored, QSizePolicy::Fixed};
};

MLinearLayoutPolicy* ButtonGroupContainerPrivate::newPolicy(Qt::Orientation orientation)
{
    auto* policy = new MLinearLayoutPolicy(layout, orientation);
    policy->setSpacing(0);
    policy->setNotifyWidgetsOfLayoutPositionEnabled(true);
    return policy;
}

void ButtonGroupContainerPrivate::buildLayout(ButtonGroupContainer* container)
{
    layout = new MLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    container->setLayout(layout);
    portraitPolicy = newPolicy(Qt::Vertical);
    if (fixedModeEnabled) {
        portraitPolicy->setOrientation(fixedModeOrientation);
    } else {
        landscapePolicy = newPolicy(Qt::Horizontal);
        layout->setLandscapePolicy(landscapePolicy);
        layout->setPortraitPolicy(portraitPolicy);
    }
}

ButtonGroupContainer::ButtonGroupContainer(QGraphicsItem* parent)
    : MWidgetController(parent)
    , d(std::make_unique<ButtonGroupContainerPrivate>())
{
    setViewType(QStringLiteral("background"));
    setStyleName(QStringLiteral("ButtonGroupContainer"));
}

ButtonGroupContainer::~ButtonGroupContainer()
{
    const QList<QPointer<MButton>> buttons = d->buttons;
    d->buttons.clear();
    for (const QPointer<MButton>& button : buttons)
        delete button.data();
}

void ButtonGroupContainer::addButton(MButton* button)
{
    // Added twice, it would be laid out and deleted twice.
    if (!button || d->buttons.contains(button))
        return;
    if (!d->layout)
        d->buildLayout(this);
    if (!d->buttonGroup) {
        d->buttonGroup = new MButtonGroup(this);
        connect(d->buttonGroup, QOverload<MButton*>::of(&MButtonGroup::buttonClicked), this,
                &ButtonGroupContainer::buttonClicked);
    }
    button->setViewType(MButton::groupType);
    d->buttons.append(button);
    d->portraitPolicy->addItem(button);
    if (!d->fixedModeEnabled)
        d->landscapePolicy->addItem(button);
    d->buttonGroup->addButton(button);
}

void ButtonGroupContainer::addButton(const QString& text, bool checked)
{
    auto* button = new MButton(text);
    button->setSizePolicy(d->buttonSizePolicy);
    button->setCheckable(true);
    button->setChecked(checked);
    button->setObjectName(text);
    addButton(button);
}

MButton* ButtonGroupContainer::button(int index) const
{
    return d->buttons.value(index);
}

MButton* ButtonGroupContainer::button(const QString& text) const
{
    for (MButton* button : qAsConst(d->buttons)) {
        if (button && button->text() == text)
            return button;
    }
    return nullptr;
}

MButton* ButtonGroupContainer::selectedButton() const
{
    for (MButton* button : qAsConst(d->buttons)) {
        if (button && button->isChecked())
            return button;
    }
    return nullptr;
}

QString ButtonGroupContainer::selectedText() const
{
    const MButton* selected = selectedButton();
    return selected ? selected->text() : QString();
}

void ButtonGroupContainer::setSelectedText(const QString& text)
{
    // Receivers of the toggles may delete buttons, or the container.
    const QPointer<ButtonGroupContainer> alive(this);
    const QList<QPointer<MButton>> buttons = d->buttons;
    for (const QPointer<MButton>& button : buttons) {
        if (!alive)
            return;
        if (button && button->text() == text && !button->isChecked())
            button->toggle();
    }
}

bool ButtonGroupContainer::isFixedModeEnabled() const
{
    return d->fixedModeEnabled;
}

void ButtonGroupContainer::setFixedModeEnabled(bool enabled)
{
    if (enabled == d->fixedModeEnabled)
        return;
    if (d->layout && !enabled) {
        qCWarning(lcWidgets, "ButtonGroupContainer: Unable to disable fixed mode when the layout is created");
        return;
    }
    d->fixedModeEnabled = enabled;
    if (!d->layout)
        return;
    d->portraitPolicy->activate();
    d->portraitPolicy->setOrientation(d->fixedModeOrientation);
    if (d->landscapePolicy) {
        d->layout->setLandscapePolicy(nullptr);
        d->layout->setPortraitPolicy(nullptr);
        delete d->landscapePolicy;
        d->landscapePolicy = nullptr;
    }
}

void ButtonGroupContainer::setFixedModeOrientation(Qt::Orientation orientation)
{
    d->fixedModeOrientation = orientation;
    if (d->fixedModeEnabled && d->layout)
        d->portraitPolicy->setOrientation(orientation);
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mbuttongroup.h"

#include "mbutton.h"

#include <QPointer>

MButtonGroup::MButtonGroup(QObject* parent)
    : QObject(parent)
{
}

MButtonGroup::~MButtonGroup()
{
    for (MButton* button : qAsConst(m_buttons))
        button->m_group = nullptr;
}

void MButtonGroup::addButton(MButton* button, int id)
{
    if (!button || m_buttons.contains(button))
        return;
    if (button->m_group)
        button->m_group->removeButton(button);
    m_buttons.append(button);
    m_ids.append(id);
    button->m_group = this;
    // A checked newcomer of an exclusive group takes the check from the others.
    if (button->isChecked())
        buttonChecked(button);
}

void MButtonGroup::removeButton(MButton* button)
{
    const int index = m_buttons.indexOf(button);
    if (index < 0)
        return;
    m_buttons.removeAt(index);
    m_ids.removeAt(index);
    button->m_group = nullptr;
}

QList<MButton*> MButtonGroup::buttons() const
{
    return m_buttons;
}

MButton* MButtonGroup::checkedButton() const
{
    for (MButton* button : m_buttons) {
        if (button->isChecked())
            return button;
    }
    return nullptr;
}

MButton* MButtonGroup::button(int id) const
{
    const int index = m_ids.indexOf(id);
    return index >= 0 ? m_buttons.at(index) : nullptr;
}

int MButtonGroup::id(MButton* button) const
{
    const int index = m_buttons.indexOf(button);
    return index >= 0 ? m_ids.at(index) : -1;
}

bool MButtonGroup::exclusive() const
{
    return m_exclusive;
}

void MButtonGroup::setExclusive(bool exclusive)
{
    m_exclusive = exclusive;
}

void MButtonGroup::buttonChecked(MButton* button)
{
    if (!m_exclusive)
        return;
    // Receivers of toggled() may delete buttons, or the group: each button
    // is looked up again, and the group is not touched after an emission.
    QList<QPointer<MButton>> buttons;
    for (MButton* other : qAsConst(m_buttons))
        buttons.append(other);
    for (const QPointer<MButton>& other : qAsConst(buttons)) {
        if (other && other != button && other->isChecked()) {
            other->m_checked = false;
            other->update();
            Q_EMIT other->toggled(false);
        }
    }
}

void MButtonGroup::buttonClickedBy(MButton* button)
{
    // Both forms carry what the button was at the click.
    const int buttonId = id(button);
    const QPointer<MButtonGroup> self(this);
    Q_EMIT buttonClicked(button);
    if (self)
        Q_EMIT buttonClicked(buttonId);
}

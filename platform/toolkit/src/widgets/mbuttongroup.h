// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MBUTTONGROUP_H
#define MBUTTONGROUP_H

#include "tesseltouchcore_export.h"

#include <QList>
#include <QObject>

class MButton;

// Groups buttons; an exclusive group (the default) keeps at most one of its
// checkable buttons checked: checking one unchecks the others, and the
// checked one cannot be unchecked by a tap or toggle.
class TT_EXPORT MButtonGroup : public QObject
{
    Q_OBJECT

public:
    explicit MButtonGroup(QObject* parent = nullptr);
    ~MButtonGroup() override;

    void addButton(MButton* button, int id = -1);
    void removeButton(MButton* button);
    QList<MButton*> buttons() const;
    MButton* checkedButton() const;
    MButton* button(int id) const;
    int id(MButton* button) const;
    bool exclusive() const;
    void setExclusive(bool exclusive);

Q_SIGNALS:
    void buttonClicked(MButton* button);
    void buttonClicked(int id);

private:
    friend class MButton;
    void buttonChecked(MButton* button);
    void buttonClickedBy(MButton* button);

    QList<MButton*> m_buttons;
    QList<int> m_ids;
    bool m_exclusive = true;
};

#endif

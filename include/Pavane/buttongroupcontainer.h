// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_BUTTONGROUPCONTAINER_H
#define PAVANE_BUTTONGROUPCONTAINER_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

class MButton;

namespace Pavane {

class ButtonGroupContainerPrivate;

/**
 * Checkable buttons of which at most one is checked, selected and read by
 * their texts.
 *
 * The container has the view type "background" and the style name
 * "ButtonGroupContainer"; its buttons get the group-button view type
 * (@c MButton::groupType), and those that the container makes itself share
 * the width equally, whatever their texts. The buttons stand one above the
 * other in portrait and side by side in landscape; fixed mode pins one
 * direction for both orientations. They form an exclusive group: checking
 * one unchecks the one checked before, and tapping the checked one leaves it
 * checked.
 *
 * The container owns every button it holds, also those the caller made, and
 * deletes them with itself. A caller may delete one of them earlier; the
 * container then skips it. Screen readers read the buttons as radio buttons
 * named by their texts. GUI thread only.
 *
 * @code
 * auto* security = new Pavane::ButtonGroupContainer(form);
 * security->addButton(QStringLiteral("WPA"), true);
 * security->addButton(QStringLiteral("WEP"));
 * connect(security, &Pavane::ButtonGroupContainer::buttonClicked, this,
 *         [this, security] { setSecurity(security->selectedText()); });
 * @endcode
 */
class PAVANEDLG_EXPORT ButtonGroupContainer : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString selectedText READ selectedText WRITE setSelectedText)
    Q_PROPERTY(bool fixedModeEnabled READ isFixedModeEnabled WRITE setFixedModeEnabled)

public:
    /**
     * Creates an empty container, a child of @p parent. Its layout and its
     * group are made with the first button.
     */
    explicit ButtonGroupContainer(QGraphicsItem* parent = nullptr);
    /** Destroys the container and every button it still holds. */
    ~ButtonGroupContainer() override;

    /**
     * Adds a button of the caller's at the end; the container takes it over.
     *
     * @p button becomes the container's child, gets the group-button view
     * type and joins the exclusive group; a checked @p button unchecks the
     * one checked before. It is not made checkable: a button that is not
     * reports its clicks but is never selected. A null @p button, or one
     * added before, is ignored.
     */
    void addButton(MButton* button);
    /**
     * Adds a new checkable button with @p text as its text and object name,
     * checked when @p checked is true (which unchecks the one checked
     * before).
     */
    void addButton(const QString& text, bool checked = false);

    /**
     * The @p index-th button added, counting from 0; null when fewer buttons
     * were added, or when the caller has deleted that one.
     */
    MButton* button(int index) const;
    /** The first button added whose text is exactly @p text, or null. */
    MButton* button(const QString& text) const;
    /** The first button added that is checked, or null when none is. */
    MButton* selectedButton() const;
    /** The text of selectedButton(); a null string when no button is checked. */
    QString selectedText() const;
    /**
     * Checks the button whose text is exactly @p text, which unchecks the one
     * checked before.
     *
     * Nothing changes when no button has that text or it is checked already.
     * Of several buttons with that text the last one ends up checked. The
     * buttons emit their @c toggled() signals, whose receivers may delete
     * buttons or the container; buttonClicked() is not emitted.
     */
    void setSelectedText(const QString& text);

    /** Whether the buttons keep one direction in both orientations. */
    bool isFixedModeEnabled() const;
    /**
     * Turns fixed mode on or off.
     *
     * Turning it on takes effect at once, also when buttons are there.
     * Turning it off again is only possible before the first button is
     * added; afterwards a warning is written and the container stays fixed.
     */
    void setFixedModeEnabled(bool enabled);
    /**
     * Sets the direction of fixed mode: @c Qt::Vertical (the default) puts
     * the buttons one above the other, @c Qt::Horizontal side by side. Set
     * while fixed mode is off, @p orientation applies once it is turned on.
     */
    void setFixedModeOrientation(Qt::Orientation orientation);

Q_SIGNALS:
    /**
     * Emitted once when the user taps @p button, or @c MButton::click() is
     * called on it, after its checked state has changed. Not emitted by
     * setSelectedText() or @c MButton::setChecked(). A receiver may delete
     * the button or the container.
     */
    void buttonClicked(MButton* button);

private:
    std::unique_ptr<ButtonGroupContainerPrivate> const d;
};

} // namespace Pavane

#endif

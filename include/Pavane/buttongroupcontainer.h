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
 * The buttons stand one above the other in portrait and side by side in
 * landscape; fixed mode pins one direction for both. The container owns its
 * buttons, also those the caller made, and deletes them with itself.
 * GUI thread only.
 */
class PAVANEDLG_EXPORT ButtonGroupContainer : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString selectedText READ selectedText WRITE setSelectedText)
    Q_PROPERTY(bool fixedModeEnabled READ isFixedModeEnabled WRITE setFixedModeEnabled)

public:
    explicit ButtonGroupContainer(QGraphicsItem* parent = nullptr);
    ~ButtonGroupContainer() override;

    /** Adds a button of the caller's; the container takes it over. */
    void addButton(MButton* button);
    /** Adds a checkable button with @p text as its text and object name. */
    void addButton(const QString& text, bool checked = false);

    /** The @p index-th button added, or null outside 0..count - 1. */
    MButton* button(int index) const;
    /** The first button added whose text is @p text, or null. */
    MButton* button(const QString& text) const;
    MButton* selectedButton() const;
    QString selectedText() const;
    /** Checks the button(s) with @p text; nothing changes if none has it. */
    void setSelectedText(const QString& text);

    bool isFixedModeEnabled() const;
    /** Pins the layout direction; turning it off again is only possible
        before the first button is added. */
    void setFixedModeEnabled(bool enabled);
    void setFixedModeOrientation(Qt::Orientation orientation);

Q_SIGNALS:
    void buttonClicked(MButton* button);

private:
    std::unique_ptr<ButtonGroupContainerPrivate> const d;
};

} // namespace Pavane

#endif

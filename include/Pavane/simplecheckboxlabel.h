// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLECHECKBOXLABEL_H
#define PAVANE_SIMPLECHECKBOXLABEL_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

class MButton;

namespace Pavane {

class SimpleCheckBoxLabelPrivate;

/**
 * A form row: a title beside an on/off button, with an optional help button,
 * an optional explanatory text under the title, and a busy spinner that can
 * take the button's place.
 *
 * With the switch view type (@c MButton::switchType) the row reads title,
 * then the switch at the right end, styled "CommonRightSwitch"; with any
 * other view type (a check box) it reads button, then title. The title is
 * word-wrapped and styled "CommonSingleTitle"; the row is styled
 * "CommonPanel", and "CommonLargePanel" once it has an explanatory text
 * (styled "CommonSubText") under the title. The help button (icon
 * "icon-s-description-inverse") stands right after the first item of the
 * row. The spinner, styled "CommonListItemSpinnerInverted", shows in the
 * button's place while the row is busy; a help button added after the row
 * was first busy does not show in the busy state.
 *
 * The caller's button keeps its signals: the row makes it checkable, gives
 * it the view type, lays it out and deletes it with itself, as it does the
 * widgets it makes. Without a button the row is its title alone. Screen
 * readers read the button named by the title and described by the
 * explanatory text, unless the caller named it already. GUI thread only.
 *
 * @code
 * auto* wlan = new MButton;
 * connect(wlan, &MButton::toggled, this, &RadioPage::setWlanEnabled);
 * auto* row = new Pavane::SimpleCheckBoxLabel(wlan, tr("WLAN"), MButton::switchType, form);
 * row->setInfoText(tr("Scans for networks in the background"));
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleCheckBoxLabel : public MWidgetController
{
    Q_OBJECT

public:
    /**
     * Creates a row of @p button (may be null) beside the title @p text, a
     * child of @p parent. @p button gets the view type @p viewType, which
     * decides its side of the row.
     */
    SimpleCheckBoxLabel(MButton* button, const QString& text, QString viewType,
                        QGraphicsItem* parent = nullptr);
    /** Destroys the row with the caller's button and every widget of the row. */
    ~SimpleCheckBoxLabel() override;

    /**
     * Shows a help button that opens the help page @p pageId, or changes the
     * page of the one shown; an empty @p pageId removes it.
     */
    void setHelpPageId(QString pageId);
    /**
     * Sets the explanatory text under the title to @p text. The first call
     * adds the text and gives the row its larger look, "CommonLargePanel",
     * for good.
     */
    void setInfoText(const QString& text);
    /**
     * Shows the busy spinner in the button's place when @p show is true, and
     * the button again when it is false. Hiding before the first showing
     * does nothing.
     */
    void setShowProgressIndicator(bool show);

private:
    std::unique_ptr<SimpleCheckBoxLabelPrivate> const d;
};

} // namespace Pavane

#endif

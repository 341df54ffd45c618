// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLEINPUTHANDLER_H
#define PAVANE_SIMPLEINPUTHANDLER_H

#include <Pavane/pavanedlg_export.h>

#include <QObject>

#include <memory>

class QGraphicsWidget;

namespace Pavane {

class SimpleInputHandlerPrivate;

/**
 * A keyboard flow through the text fields of a sheet, dialog or any widget.
 *
 * On every field but the last, the virtual keyboard's action key reads
 * "next" (the text of "qtn_comm_next") and Return moves the focus to the
 * next field. On the last field the key carries the label of the sheet's
 * accept button, or "done" ("qtn_comm_command_done") when there is none,
 * and Return triggers the accept button; without one it closes the keyboard
 * and takes the focus from the field. The key is disabled while the field's
 * validator does not accept its text, and on the last field also while the
 * accept button is disabled; both are checked as the field gains focus and
 * as its text changes.
 *
 * The fields are the visible text fields inside the widget (inside its
 * central widget, for a sheet), in screen order: left to right first, then
 * top to bottom, so that a field further left comes first even when it
 * stands lower. They are found when the widget first appears (for a sheet
 * with a body, each time it appears), and again whenever its scene has been
 * quiet for 100 ms after a change; the first build gives the first field
 * the focus when that field is empty.
 *
 * Every SimpleSheet has one already. Its object parent is the widget it
 * serves, so it goes with it; deleting it earlier ends the flow. GUI thread
 * only.
 *
 * @code
 * new Pavane::SimpleInputHandler(loginForm);
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleInputHandler : public QObject
{
    Q_OBJECT

public:
    /**
     * Starts the keyboard flow among the text fields inside @p widget, which
     * becomes the handler's parent. A null @p widget gets a warning
     * (category @c pavane.sheet) and a handler that does nothing. The fields
     * are found at once when @p widget is shown already (appeared, for a
     * scene window; on the display, for any other widget), else when it
     * first is.
     */
    explicit SimpleInputHandler(QGraphicsWidget* widget);
    /** Ends the flow and withdraws the handler's settings of the keyboard. */
    ~SimpleInputHandler() override;

private:
    std::unique_ptr<SimpleInputHandlerPrivate> const d;
};

} // namespace Pavane

#endif

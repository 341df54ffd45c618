// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DIALOGHELPERWIDGET_H
#define PAVANE_DIALOGHELPERWIDGET_H

#include <Pavane/pavanedlg_export.h>

#include <MWidget>

#include <memory>

namespace Pavane {

class DialogHelperWidgetPrivate;

/**
 * Wraps content for an inverted-style dialog or sheet, so that every styled
 * widget inside takes the inverted variant of its style.
 *
 * The variant's style name is the widget's style name followed by
 * "Inverted" ("CommonSubText" becomes "CommonSubTextInverted"); a widget
 * without a style name takes its object name followed by "Inverted". Names
 * already ending in "Inverted", "Spacer", "Bar", "Icon" or "Thumbnail" stay
 * as they are, and so do widgets with neither name. The names change when
 * the content is wrapped and again whenever any event reaches a descendant
 * of the wrapper, so that widgets added or restyled later follow. No event
 * is ever stopped.
 *
 * The wrapped widget becomes the wrapper's child through its layout and is
 * deleted with it; the host may delete it earlier. GUI thread only.
 *
 * @code
 * auto* sheet = new Pavane::SimpleSheet;
 * sheet->setStyleName(QStringLiteral("Inverted"));
 * sheet->setContent(new Pavane::DialogHelperWidget(form));
 * @endcode
 */
class PAVANEDLG_EXPORT DialogHelperWidget : public MWidget
{
    Q_OBJECT

public:
    /**
     * Wraps @p widget in a new wrapper, a child of @p parent, and switches
     * its style names at once. A null @p widget gives an empty wrapper that
     * does nothing.
     */
    explicit DialogHelperWidget(MWidget* widget, QGraphicsItem* parent = nullptr);
    /** Destroys the wrapper and with it the wrapped widget, if still there. */
    ~DialogHelperWidget() override;

protected:
    /**
     * Switches the wrapped content's style names again, whatever @p watched
     * and @p event are.
     *
     * @return false, so that @p event goes on to @p watched.
     */
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;

private:
    std::unique_ptr<DialogHelperWidgetPrivate> const d;
};

} // namespace Pavane

#endif

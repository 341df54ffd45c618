// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_HEADERPANEL_H
#define PAVANE_HEADERPANEL_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

namespace Pavane {

class HeaderPanelPrivate;

/**
 * The heading of a dialog page: one line of text above a divider line.
 *
 * The text (style name "CommonHeader") is cut short with an ellipsis when it
 * is too long, never wrapped; the line has the style name
 * "CommonHeaderDivider". Both are the panel's children. Screen readers read
 * its text as static text. GUI thread only.
 */
class PAVANEDLG_EXPORT HeaderPanel : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    /** Creates a panel with an empty heading, a child of @p parent. */
    explicit HeaderPanel(QGraphicsItem* parent = nullptr);
    /** Creates a panel with the heading @p text, a child of @p parent. */
    explicit HeaderPanel(const QString& text, QGraphicsItem* parent = nullptr);
    /** Destroys the panel with its text and line. */
    ~HeaderPanel() override;

    /** The heading's text, in full even when it is shown cut short. */
    QString text() const;
    /** Sets the heading's text to @p text. */
    void setText(const QString& text);

private:
    std::unique_ptr<HeaderPanelPrivate> const d;
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DIVIDERHEADER_H
#define PAVANE_DIVIDERHEADER_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

class MLabel;

namespace Pavane {

class DividerHeaderPrivate;

/**
 * A group header inside a dialog page: a divider line that takes the free
 * width, then a label, in one row.
 *
 * The header has the style name "CommonGroupHeaderPanel", its line
 * "CommonGroupHeaderDivider" and its label "CommonGroupHeader". It owns its
 * label, a child through its layout. SimpleFrame uses it as the caption
 * above button groups and panels. Screen readers read its label as static
 * text. GUI thread only.
 */
class PAVANEDLG_EXPORT DividerHeader : public MWidgetController
{
    Q_OBJECT

public:
    /** Creates a header whose label shows @p text, a child of @p parent. */
    explicit DividerHeader(QString text, QGraphicsItem* parent = nullptr);
    /** Destroys the header with its line and its label. */
    ~DividerHeader() override;

    /**
     * The current label, still owned by the header; null after
     * setLabel(nullptr) or when the host has deleted it.
     */
    MLabel* label();
    /**
     * Replaces the label: the old one is deleted, and @p label, styled as the
     * caller left it, goes to the end of the row as the header's child.
     * A null @p label leaves the divider alone in the row; the current label
     * again changes nothing.
     */
    void setLabel(MLabel* label);

private:
    std::unique_ptr<DividerHeaderPrivate> const d;
};

} // namespace Pavane

#endif

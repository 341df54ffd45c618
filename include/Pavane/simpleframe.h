// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLEFRAME_H
#define PAVANE_SIMPLEFRAME_H

#include <Pavane/pavanedlg_export.h>

#include <MWidget>

#include <memory>

namespace Pavane {

class SimpleFramePrivate;

/**
 * A caption above one content widget of a dialog page, its look chosen by
 * the content's own style name.
 *
 * When the content's style name contains "InputField", the caption is a
 * field label, styled "CommonFieldLabel" and aligned to the top left (top
 * right for a right-to-left title). When it contains "CommonSubTitle", the
 * caption is a title styled "CommonTitle". When it starts with
 * "ButtonGroupContainer", "CommonButtonGroup" or "CommonPanel", or the
 * content is no @c MWidgetController at all, the caption is a group header
 * with a divider line (a DividerHeader, its label styled
 * "CommonGroupHeader"). Where several of these apply the last one wins;
 * otherwise the caption is a plain label without a style name. Every
 * caption is word-wrapped.
 *
 * The frame is laid out when the content is set, and the caption made then,
 * once, if the title is not empty. A later setContent() puts the new
 * content under the same caption, whose look stays, and lets the old content
 * go, hidden and without parent, to whoever holds it: the frame does not
 * delete it. The current content and the caption are the frame's children
 * and go with it. Screen readers read the content by the caption, which
 * names it unless it has a name of its own or is a label or a button with a
 * text. GUI thread only.
 *
 * @code
 * auto* ssid = new MTextEdit;
 * ssid->setStyleName(QStringLiteral("CommonSingleInputField"));
 * auto* frame = new Pavane::SimpleFrame(tr("Network name"), form);
 * frame->setContent(ssid);
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleFrame : public MWidget
{
    Q_OBJECT

public:
    /**
     * Creates a frame with the caption text @p title, a child of @p parent.
     * Nothing is laid out before setContent().
     */
    explicit SimpleFrame(const QString& title, MWidget* parent = nullptr);
    /** Destroys the frame with its caption and its current content. */
    ~SimpleFrame() override;

    /** The caption text. */
    QString title() const;
    /**
     * Sets the caption text to @p title, on screen too once the caption
     * exists. A frame laid out without caption (the title was empty) shows
     * one from the next setContent() on.
     */
    void setTitle(const QString& title);
    /** The content widget; null before setContent() or once the host deleted it. */
    MWidget* content() const;
    /**
     * Lays out @p content under the caption, taking it as the frame's child,
     * and lets the previous content go. The current content again changes
     * nothing; a null @p content leaves the caption alone.
     */
    void setContent(MWidget* content);

protected:
    /**
     * Builds the frame's layout anew: the caption, made on the first call
     * with a non-empty title, above the content. setContent() calls it
     * after storing the content.
     */
    virtual void createContent();

private:
    std::unique_ptr<SimpleFramePrivate> const d;
};

} // namespace Pavane

#endif

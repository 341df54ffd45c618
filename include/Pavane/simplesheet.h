// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLESHEET_H
#define PAVANE_SIMPLESHEET_H

#include <Pavane/pavanedlg_export.h>

#include <MSheet>

#include <memory>

class MWindow;

namespace Pavane {

class SimpleSheetPrivate;

/**
 * A modal sheet for a connectivity dialog, which records and reports the
 * user's decision.
 *
 * On screen the sheet has a header with accept and reject buttons and a
 * progress indicator, made by the first setAcceptLabel(),
 * setRejectLabel() or setProgressIndicatorVisible(), and a scrollable body:
 * an optional title line (one line, cut short when too long, styled
 * "CommonHeader") above one content widget. A sheet whose own style name
 * ends in "Inverted" gives its title line "CommonHeaderInverted", its
 * header "Inverted" and its scroll indicator
 * "CommonPositionIndicatorInverted", as its scene-window state changes.
 * Its text fields get a next-or-done keyboard flow (SimpleInputHandler).
 * Shown system-wide, it leaves the status bar visible.
 *
 * A tap on accept or reject, or a call of accept(), reject() or done(),
 * records the decision and reports it: finished() first, then accepted() or
 * rejected(). The decision of a tap is taken on a later pass of the event
 * loop than the tap. A sheet that disappears or is destroyed undecided
 * counts as rejected. The sheet never dismisses itself: the caller dismisses it
 * (@c MSceneWindow::dismiss()) when it has what it needs. exec() shows it
 * and blocks in a local event loop until the decision.
 *
 * The caller owns the sheet: showing it hands nothing over. The sheet owns
 * its header, its body and the content in it. Screen readers read it as a
 * modal dialog named by its title. GUI thread only.
 *
 * @code
 * QPointer<Pavane::SimpleSheet> sheet = new Pavane::SimpleSheet;
 * sheet->setTitle(tr("Enter the network key"));
 * sheet->setAcceptLabel(tr("Connect"));
 * sheet->setRejectLabel(tr("Cancel"));
 * sheet->setContent(form);
 * const bool connectNow = sheet->exec(window);
 * if (sheet) {
 *     sheet->dismiss();
 *     sheet->deleteLater();
 * }
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleSheet : public MSheet
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString acceptLabel READ acceptLabel WRITE setAcceptLabel)
    Q_PROPERTY(QString rejectLabel READ rejectLabel WRITE setRejectLabel)
    Q_PROPERTY(bool progressIndicatorVisible READ isProgressIndicatorVisible WRITE setProgressIndicatorVisible)
    Q_PROPERTY(bool acceptEnabled READ isAcceptEnabled WRITE setAcceptEnabled)

public:
    /** Creates an undecided sheet without parent, header or body. */
    SimpleSheet();
    /**
     * Destroys the sheet with its header and body. An undecided sheet is
     * rejected first, with finished() and rejected(), whose receivers must
     * not delete it again (deleteLater() is harmless: it never comes).
     */
    ~SimpleSheet() override;

    /** The title text; a null string until setTitle() was called. */
    QString title() const;
    /**
     * Shows @p title in the title line above the content, adding the line on
     * the first call.
     */
    void setTitle(const QString& title);
    /** The content widget; null before setContent() or once the host deleted it. */
    QGraphicsWidget* content() const;
    /**
     * Puts @p content into the body under the title line; the sheet takes it
     * as its own and deletes it with itself. A content set before is deleted.
     */
    void setContent(QGraphicsWidget* content);

    /** The accept button's text; a null string while there is no header or no accept button. */
    QString acceptLabel() const;
    /** Sets the accept button's text to @p label, adding the header and the button when missing. */
    void setAcceptLabel(const QString& label);
    /** The reject button's text; a null string while there is no header or no reject button. */
    QString rejectLabel() const;
    /** Sets the reject button's text to @p label, adding the header and the button when missing. */
    void setRejectLabel(const QString& label);
    /**
     * Whether the accept button is enabled; false while there is no header
     * or no accept button, whatever setAcceptEnabled() stored.
     */
    bool isAcceptEnabled() const;
    /** Whether the header's progress indicator shows; false while there is no header. */
    bool isProgressIndicatorVisible() const;
    /** Shows or hides the header's progress indicator, adding the header when missing. */
    void setProgressIndicatorVisible(bool visible);

    /** Whether the last decision was to accept; false while undecided. */
    bool isAccepted() const;
    /** Whether the last decision was to reject; false while undecided. */
    bool isRejected() const;

public Q_SLOTS:
    /**
     * Enables or disables the accept button. Set before the button exists,
     * @p enabled applies when it is made.
     */
    void setAcceptEnabled(bool enabled);
    /** Accepts the sheet: done(true). */
    virtual void accept();
    /** Rejects the sheet: done(false). */
    virtual void reject();
    /**
     * Records the decision @p accepted and reports it: finished(), then
     * accepted() or rejected() unless a receiver of finished() deleted the
     * sheet. A later decision replaces an earlier one.
     */
    virtual void done(bool accepted);
    /**
     * Shows the sheet in @p window, or system-wide without one, and waits in
     * a local event loop for the decision.
     *
     * The decision is cleared once the sheet is shown, so that one sheet can
     * be run more than once; one taken as it appears (by a receiver of its
     * state change) stands, and exec() returns it at once. The sheet stays
     * shown afterwards. Without a
     * window and without a @c QApplication there is nowhere to show it: it
     * is rejected at once.
     *
     * @return true only if the sheet was accepted; false when it was
     * rejected, disappeared undecided, was deleted meanwhile or could not be
     * shown.
     */
    bool exec(MWindow* window = nullptr);

Q_SIGNALS:
    /** Emitted after finished() when the sheet was accepted. A receiver may delete the sheet. */
    void accepted();
    /**
     * Emitted after finished() when the sheet was rejected, also when it
     * disappeared or is destroyed undecided. A receiver may delete the
     * sheet, but not while the sheet reports its own destruction.
     */
    void rejected();
    /**
     * Emitted first with every decision; @p accepted tells which one. A
     * receiver may delete the sheet (not while it reports its own
     * destruction), and accepted() or rejected() then does not follow.
     */
    void finished(bool accepted);

private:
    std::unique_ptr<SimpleSheetPrivate> const d;
};

} // namespace Pavane

#endif

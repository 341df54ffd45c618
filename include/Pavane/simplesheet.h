#ifndef PAVANE_SIMPLESHEET_H
#define PAVANE_SIMPLESHEET_H

#include <Pavane/pavanedlg_export.h>

#include <MSheet>

#include <memory>

class MWindow;

namespace Pavane {

class SimpleSheetPrivate;

/**
 * A modal sheet for a connectivity dialog: a header with accept and reject
 * buttons and a progress indicator, and a scrollable body of an optional
 * title line above one content widget.
 *
 * The sheet records the user's decision and reports it (finished() first,
 * then accepted() or rejected()); a sheet that disappears or is destroyed
 * undecided counts as rejected. It never dismisses itself: the caller does
 * when it has what it needs. exec() shows it in a window, or system-wide,
 * and blocks in a local event loop until the decision. A style name ending
 * in "Inverted" gives the title, header and scroll indicator their inverted
 * looks. Its text fields get a next-or-done keyboard flow. GUI thread only.
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
    SimpleSheet();
    ~SimpleSheet() override;

    QString title() const;
    void setTitle(const QString& title);
    QGraphicsWidget* content() const;
    /** The sheet takes @p content into its body. */
    void setContent(QGraphicsWidget* content);

    /** Null while there is no header or no accept action. */
    QString acceptLabel() const;
    void setAcceptLabel(const QString& label);
    QString rejectLabel() const;
    void setRejectLabel(const QString& label);
    /** False while there is no header or no accept action. */
    bool isAcceptEnabled() const;
    bool isProgressIndicatorVisible() const;
    void setProgressIndicatorVisible(bool visible);

    bool isAccepted() const;
    bool isRejected() const;

public Q_SLOTS:
    void setAcceptEnabled(bool enabled);
    virtual void accept();
    virtual void reject();
    virtual void done(bool accepted);
    /**
     * Shows the sheet in @p window, or system-wide without one, and waits
     * for the decision; true only if the sheet was accepted (false when it
     * was deleted meanwhile, or could not be shown).
     */
    bool exec(MWindow* window = nullptr);

Q_SIGNALS:
    void accepted();
    void rejected();
    void finished(bool accepted);

private:
    std::unique_ptr<SimpleSheetPrivate> const d;
};

} // namespace Pavane

#endif

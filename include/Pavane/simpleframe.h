#ifndef PAVANE_SIMPLEFRAME_H
#define PAVANE_SIMPLEFRAME_H

#include <Pavane/pavanedlg_export.h>

#include <MWidget>

#include <memory>

namespace Pavane {

class SimpleFramePrivate;

/**
 * A caption above one content widget of a dialog page, its look chosen by
 * the content's style name: a field label over an input field, a title over
 * a sub-title, a group header with a divider over button groups, panels and
 * unstyled content.
 *
 * The frame is built when the content is set. A later setContent() puts the
 * new content under the same caption and lets the old content go, hidden
 * and without parent, to whoever holds it (the frame does not own it);
 * setTitle() afterwards changes the caption's text. A null content leaves
 * the caption alone. GUI thread only.
 */
class PAVANEDLG_EXPORT SimpleFrame : public MWidget
{
    Q_OBJECT

public:
    explicit SimpleFrame(const QString& title, MWidget* parent = nullptr);
    ~SimpleFrame() override;

    QString title() const;
    void setTitle(const QString& title);
    MWidget* content() const;
    /** The frame takes @p content as its child and builds its layout. */
    void setContent(MWidget* content);

protected:
    /** Builds the frame's layout around the content. */
    virtual void createContent();

private:
    std::unique_ptr<SimpleFramePrivate> const d;
};

} // namespace Pavane

#endif

#ifndef PAVANE_SIMPLECHECKBOXLABEL_H
#define PAVANE_SIMPLECHECKBOXLABEL_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

class MButton;

namespace Pavane {

class SimpleCheckBoxLabelPrivate;

/**
 * A form row: a title beside an on/off button (a switch at the right end,
 * any other view type, such as a check box, at the left), with an optional
 * help button, an optional explanatory text under the title, and a busy
 * spinner that can take the button's place. The caller's button keeps its
 * signals; the row lays it out and makes it checkable. GUI thread only.
 */
class PAVANEDLG_EXPORT SimpleCheckBoxLabel : public MWidgetController
{
    Q_OBJECT

public:
    SimpleCheckBoxLabel(MButton* button, const QString& text, QString viewType,
                        QGraphicsItem* parent = nullptr);
    ~SimpleCheckBoxLabel() override;

    /** A help button for @p pageId; an empty id removes it. */
    void setHelpPageId(QString pageId);
    /** A second line under the title; the row then keeps its larger look. */
    void setInfoText(const QString& text);
    /** The spinner in place of the button, or the button again. */
    void setShowProgressIndicator(bool show);

private:
    std::unique_ptr<SimpleCheckBoxLabelPrivate> const d;
};

} // namespace Pavane

#endif

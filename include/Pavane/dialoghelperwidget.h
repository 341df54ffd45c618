#ifndef PAVANE_DIALOGHELPERWIDGET_H
#define PAVANE_DIALOGHELPERWIDGET_H

#include <Pavane/pavanedlg_export.h>

#include <MWidget>

#include <memory>

namespace Pavane {

class DialogHelperWidgetPrivate;

/**
 * Wraps content for an inverted-style dialog or sheet: every styled widget
 * inside takes the inverted variant of its style name ("<name>Inverted"),
 * when wrapped and whenever any event reaches a descendant, so that widgets
 * added later follow. Names already inverted, and those of spacers, bars,
 * icons and thumbnails, stay as they are. No event is ever stopped.
 *
 * The wrapped widget becomes the wrapper's child. GUI thread only.
 */
class PAVANEDLG_EXPORT DialogHelperWidget : public MWidget
{
    Q_OBJECT

public:
    explicit DialogHelperWidget(MWidget* widget, QGraphicsItem* parent = nullptr);
    ~DialogHelperWidget() override;

protected:
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;

private:
    std::unique_ptr<DialogHelperWidgetPrivate> const d;
};

} // namespace Pavane

#endif

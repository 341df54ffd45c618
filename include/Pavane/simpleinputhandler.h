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
 * "next" and moves the focus on; on the last it carries the sheet's accept
 * label (or "done") and triggers the accept action. The key is disabled
 * while the field's validator does not accept its text, and on the last
 * field also while the accept action is disabled. The fields are found in
 * screen order (left to right, then top to bottom) when the widget first
 * appears, and again whenever the scene has been quiet for 100 ms after a
 * change.
 *
 * Its object parent is the widget it serves. GUI thread only.
 */
class PAVANEDLG_EXPORT SimpleInputHandler : public QObject
{
    Q_OBJECT

public:
    explicit SimpleInputHandler(QGraphicsWidget* widget);
    ~SimpleInputHandler() override;

private:
    std::unique_ptr<SimpleInputHandlerPrivate> const d;
};

} // namespace Pavane

#endif

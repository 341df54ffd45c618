#ifndef PAVANE_HEADERPANEL_H
#define PAVANE_HEADERPANEL_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

namespace Pavane {

class HeaderPanelPrivate;

/**
 * The heading of a dialog page: one line of text, cut short with an
 * ellipsis when too long, above a divider line. GUI thread only.
 */
class PAVANEDLG_EXPORT HeaderPanel : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit HeaderPanel(QGraphicsItem* parent = nullptr);
    explicit HeaderPanel(const QString& text, QGraphicsItem* parent = nullptr);
    ~HeaderPanel() override;

    QString text() const;
    void setText(const QString& text);

private:
    std::unique_ptr<HeaderPanelPrivate> const d;
};

} // namespace Pavane

#endif

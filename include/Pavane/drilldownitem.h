#ifndef PAVANE_DRILLDOWNITEM_H
#define PAVANE_DRILLDOWNITEM_H

#include <Pavane/pavanedlg_export.h>

#include <MListItem>

#include <memory>

class MImageWidget;

namespace Pavane {

class DrillDownItemPrivate;

/**
 * A tappable list row that leads to a further page: an optional leading
 * image, a title with an optional subtitle under it, and a drill-down arrow
 * at the end. Taps arrive as MListItem::clicked(). GUI thread only.
 */
class PAVANEDLG_EXPORT DrillDownItem : public MListItem
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    explicit DrillDownItem(QGraphicsItem* parent = nullptr);
    ~DrillDownItem() override;

    QString title() const;
    void setTitle(const QString& title);
    /** The first call adds the second line; the title then keeps its two-line look. */
    void setSubtitle(const QString& subtitle);

    MImageWidget* imageWidget() const;
    /** Replaces the leading image, deleting the old one; null leaves none. */
    void setImageWidget(MImageWidget* image);

private:
    std::unique_ptr<DrillDownItemPrivate> const d;
};

} // namespace Pavane

#endif

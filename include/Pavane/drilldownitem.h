// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DRILLDOWNITEM_H
#define PAVANE_DRILLDOWNITEM_H

#include <Pavane/pavanedlg_export.h>

#include <MListItem>

#include <memory>

class MImageWidget;

namespace Pavane {

class DrillDownItemPrivate;

/**
 * A tappable list row that leads to a further page.
 *
 * The row reads: an optional leading image (style name "CommonMainIcon"), a
 * title with an optional subtitle under it, free space, and a drill-down
 * arrow (icon "icon-m-common-drilldown-arrow-inverse", style name
 * "CommonDrilldownIcon") at the end. The title is styled
 * "CommonSingleTitle", or "CommonTitle" above a subtitle styled
 * "CommonSubTitle"; the item itself is styled "CommonPanel". Taps arrive as
 * @c MListItem::clicked(). The labels, the arrow and the image are the
 * item's children. Screen readers read it as a list item named by its title and
 * described by its subtitle. GUI thread only.
 *
 * @code
 * auto* advanced = new Pavane::DrillDownItem;
 * advanced->setTitle(tr("Advanced settings"));
 * advanced->setSubtitle(tr("Proxy and IP addresses"));
 * connect(advanced, &MListItem::clicked, this, &NetworkPage::openAdvanced);
 * @endcode
 */
class PAVANEDLG_EXPORT DrillDownItem : public MListItem
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    /** Creates a row with an empty title and no image, a child of @p parent. */
    explicit DrillDownItem(QGraphicsItem* parent = nullptr);
    /** Destroys the row with its labels, arrow and image. */
    ~DrillDownItem() override;

    /** The title's text. */
    QString title() const;
    /** Sets the title's text to @p title. */
    void setTitle(const QString& title);
    /**
     * Sets the second line's text to @p subtitle. The first call adds the
     * line, even for an empty text, and gives the title its two-line style
     * "CommonTitle" for good.
     */
    void setSubtitle(const QString& subtitle);

    /** The leading image, or null when there is none (or the host deleted it). */
    MImageWidget* imageWidget() const;
    /**
     * Replaces the leading image: the old one is deleted, and @p image gets
     * the style name "CommonMainIcon" and goes to the start of the row as the
     * item's child. A null @p image leaves the row without one.
     */
    void setImageWidget(MImageWidget* image);

private:
    std::unique_ptr<DrillDownItemPrivate> const d;
};

} // namespace Pavane

#endif

#ifndef PAVANE_DIVIDERHEADER_H
#define PAVANE_DIVIDERHEADER_H

#include <Pavane/pavanedlg_export.h>

#include <MWidgetController>

#include <memory>

class MLabel;

namespace Pavane {

class DividerHeaderPrivate;

/**
 * A group header: a divider line taking the free width, then a label. The
 * header owns its label. GUI thread only.
 */
class PAVANEDLG_EXPORT DividerHeader : public MWidgetController
{
    Q_OBJECT

public:
    explicit DividerHeader(QString text, QGraphicsItem* parent = nullptr);
    ~DividerHeader() override;

    MLabel* label();
    /**
     * Replaces the label: the old one is deleted, @p label (styled as the
     * caller left it) goes to the end of the row. A null label leaves the
     * divider alone.
     */
    void setLabel(MLabel* label);

private:
    std::unique_ptr<DividerHeaderPrivate> const d;
};

} // namespace Pavane

#endif

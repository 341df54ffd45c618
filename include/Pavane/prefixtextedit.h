#ifndef PAVANE_PREFIXTEXTEDIT_H
#define PAVANE_PREFIXTEXTEDIT_H

#include <Pavane/pavanedlg_export.h>

#include <MTextEdit>

#include <memory>

namespace Pavane {

class PrefixTextEditPrivate;

/**
 * A single-line text field with a fixed grey prefix at its left edge, inside
 * the field; the editable text starts right after it. The prefix is a label
 * over the field, and the field's first line is indented by its width,
 * renewed whenever the text changes or the field gains focus. GUI thread only.
 */
class PAVANEDLG_EXPORT PrefixTextEdit : public MTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QString prefix READ prefix WRITE setPrefix)

public:
    explicit PrefixTextEdit(QGraphicsItem* parent = nullptr);
    ~PrefixTextEdit() override;

    /** Null until a prefix was set. */
    QString prefix() const;
    void setPrefix(const QString& prefix);

private:
    std::unique_ptr<PrefixTextEditPrivate> const d;
};

} // namespace Pavane

#endif

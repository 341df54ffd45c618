#ifndef PAVANE_KEYTEXTEDIT_H
#define PAVANE_KEYTEXTEDIT_H

#include <Pavane/pavanedlg_export.h>

#include <MTextEdit>

namespace Pavane {

/**
 * A single-line field for keys (WLAN keys, PINs): paste() inserts the
 * clipboard's text only when the field's validator finds that text alone
 * complete (QValidator::Acceptable); partial or invalid text is not pasted.
 * Without a validator, paste() pastes as any field does. GUI thread only.
 */
class PAVANEDLG_EXPORT KeyTextEdit : public MTextEdit
{
    Q_OBJECT

public:
    explicit KeyTextEdit(MWidget* parent = nullptr);
    ~KeyTextEdit() override;

public Q_SLOTS:
    void paste() override;
};

} // namespace Pavane

#endif

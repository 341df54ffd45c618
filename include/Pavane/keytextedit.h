// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_KEYTEXTEDIT_H
#define PAVANE_KEYTEXTEDIT_H

#include <Pavane/pavanedlg_export.h>

#include <MTextEdit>

namespace Pavane {

/**
 * A single-line field for keys (WLAN keys, PINs) whose paste takes only a
 * whole key.
 *
 * paste() inserts the clipboard's text only when the field's validator finds
 * that text alone complete (@c QValidator::Acceptable), whatever the field
 * holds already; partial (@c QValidator::Intermediate) or invalid text is
 * dropped without a word. Text that passes still goes in as any pasted text
 * does, replacing the selection, and the field refuses it when the result is
 * invalid. Without a validator paste() pastes as any field does. Typing is
 * checked as in any field. The validator is not the field's: the caller
 * keeps it alive. Screen readers read it as a password field while its
 * echo mode hides the text. GUI thread only.
 *
 * @code
 * auto* pin = new Pavane::KeyTextEdit(form);
 * pin->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[0-9]{4,8}")), pin));
 * @endcode
 */
class PAVANEDLG_EXPORT KeyTextEdit : public MTextEdit
{
    Q_OBJECT

public:
    /** Creates an empty single-line field, a child of @p parent when not null. */
    explicit KeyTextEdit(MWidget* parent = nullptr);
    /** Destroys the field. */
    ~KeyTextEdit() override;

public Q_SLOTS:
    /**
     * Pastes the clipboard's text when the validator accepts it alone as a
     * complete key; otherwise does nothing. An empty clipboard is never
     * pasted.
     */
    void paste() override;
};

} // namespace Pavane

#endif

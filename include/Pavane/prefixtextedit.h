// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_PREFIXTEXTEDIT_H
#define PAVANE_PREFIXTEXTEDIT_H

#include <Pavane/pavanedlg_export.h>

#include <MTextEdit>

#include <memory>

namespace Pavane {

class PrefixTextEditPrivate;

/**
 * A single-line text field with a fixed grey prefix at its left edge, inside
 * the field; the editable text starts right after it.
 *
 * The prefix is a disabled label in a fixed grey over the field, a child of
 * it, and no part of the field's text. The field's first line is indented by
 * the label's width, renewed whenever the prefix or the text changes and
 * whenever the field gains focus. Once set, the prefix can be changed but
 * not removed: an empty prefix leaves an empty label. Screen readers read
 * it as editable text described by its prefix. GUI thread only.
 *
 * @code
 * auto* proxy = new Pavane::PrefixTextEdit(form);
 * proxy->setPrefix(QStringLiteral("http://"));
 * @endcode
 */
class PAVANEDLG_EXPORT PrefixTextEdit : public MTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QString prefix READ prefix WRITE setPrefix)

public:
    /** Creates an empty single-line field without prefix, a child of @p parent. */
    explicit PrefixTextEdit(QGraphicsItem* parent = nullptr);
    /** Destroys the field with its prefix label. */
    ~PrefixTextEdit() override;

    /** The prefix's text; a null string until setPrefix() was called. */
    QString prefix() const;
    /**
     * Shows @p prefix before the editable text, making the label on the first
     * call, and indents the text by the prefix's width.
     */
    void setPrefix(const QString& prefix);

private:
    std::unique_ptr<PrefixTextEditPrivate> const d;
};

} // namespace Pavane

#endif

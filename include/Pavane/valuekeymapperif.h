// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_VALUEKEYMAPPERIF_H
#define PAVANE_VALUEKEYMAPPERIF_H

#include <Pavane/pavanedlg_export.h>

#include <QString>
#include <QStringList>
#include <QVariant>

namespace Pavane {

/**
 * Lets one text edit write different properties depending on what was typed
 * (bound with PropertyEditorManager::bindEditor(editor, mapper)). After every
 * change of the text the manager stores mappedValue() under mappedKey() and
 * clears every property named by obsoleteKeys().
 *
 * Implementations keep their own reference to the text edit they interpret.
 * The manager does not own the mapper, which must outlive the binding.
 */
class PAVANEDLG_EXPORT ValueKeyMapperIf
{
public:
    /** Virtual, so that a mapper may be deleted through this interface. */
    virtual ~ValueKeyMapperIf();

    /**
     * The property that the current text belongs to. The three functions are
     * asked one after the other, once per change, before anything is stored.
     */
    virtual QString mappedKey() const = 0;
    /** The value to store under mappedKey(). */
    virtual QVariant mappedValue() const = 0;
    /** Properties to clear after each change, each with its own propertyChanged(). */
    virtual QStringList obsoleteKeys() const = 0;
};

} // namespace Pavane

#endif

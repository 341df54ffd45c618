// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Existing editors bound to properties, and the slots through which their
// changes flow into them.
#include <Pavane/buttongroupcontainer.h>
#include <Pavane/propertyeditormanager.h>
#include <Pavane/valuekeymapperif.h>

#include "propertyeditor/propertyeditormanager_p.h"
#include "logging/pavanelogging_p.h"

#include <MButton>
#include <MComboBox>
#include <MTextEdit>

#include <QAbstractItemModel>
#include <QLocale>
#include <QPointer>
#include <QRegExp>

#include <functional>

namespace Pavane {

namespace {

// What a text edit shows for a value of the property's type.
QString textFor(const QVariant& value, QVariant::Type type)
{
    if (type == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(' '));
    if (type == QVariant::Int) {
        // The locale's digits, without group separators: the text must read
        // back as the same number.
        return QStringLiteral("%L1").arg(value.toInt()).remove(QLocale().groupSeparator());
    }
    return value.toString();
}

// The value a text edit's text stands for, by the property's current type.
QVariant valueFor(const QString& text, QVariant::Type type)
{
    switch (type) {
    case QVariant::Int: {
        bool ok = false;
        int number = text.toInt(&ok);
        // The text may be in the locale's own digits or minus sign, as it
        // was shown; anything else is no integer.
        if (!ok)
            number = QLocale().toInt(text, &ok);
        return ok ? number : 0;
    }
    case QVariant::ByteArray:
        return text.toLatin1();
    case QVariant::StringList:
        return text.split(QRegExp(QStringLiteral("[\\s,]")), Qt::SkipEmptyParts);
    default:
        return text;
    }
}

// Stops the manager listening to @p signal of @p editor, and gives what
// starts it again, once and for all.
template <typename Editor, typename Signal, typename Slot>
std::function<void()> mute(Editor* editor, Signal signal, PropertyEditorManagerPrivate* d, Slot slot)
{
    QObject::disconnect(editor, signal, d, slot);
    return [=] { QObject::connect(editor, signal, d, slot, Qt::UniqueConnection); };
}

const auto ComboBoxTextChanged = QOverload<const QString&>::of(&MComboBox::currentIndexChanged);

} // namespace

bool PropertyEditorManager::bindEditor(MWidget* editor, const QString& name, QVariant::Type type)
{
    const QVariant current = propertyValue(name);
    QVariant::Type effective = type;
    if (effective == QVariant::Invalid)
        effective = current.type();
    if (effective == QVariant::Invalid)
        effective = QVariant::String;

    // Receivers of propertyChanged() and of the editor's own signals while it
    // is filled may delete the manager or the editor.
    const QPointer<PropertyEditorManagerPrivate> alive(d.get());
    const QPointer<MWidget> editorAlive(editor);

    // The property is prepared before the editor is looked at, so this also
    // happens for a widget that is then refused.
    if (!current.isValid()) {
        if (!d->applyEditorValue(name, QVariant(effective)))
            return false;
    } else if (!d->objectMode) {
        QVariant converted = d->properties.value(name);
        converted.convert(int(effective));
        d->properties.insert(name, converted);
    }
    if (editor && !editorAlive)
        return false;

    // Filled while the manager does not listen, so that binding an editor
    // bound before emits no change either.
    std::function<void()> listen;
    if (auto* edit = qobject_cast<MTextEdit*>(editor)) {
        listen = mute(edit, &MTextEdit::textChanged, d.get(), &PropertyEditorManagerPrivate::textEditTextChanged);
        edit->setText(textFor(current, effective));
    } else if (auto* button = qobject_cast<MButton*>(editor)) {
        listen = mute(button, &MButton::toggled, d.get(), &PropertyEditorManagerPrivate::buttonToggled);
        button->setCheckable(true);
        button->setChecked(current.toBool());
    } else if (auto* combo = qobject_cast<MComboBox*>(editor)) {
        listen = mute(combo, ComboBoxTextChanged, d.get(), &PropertyEditorManagerPrivate::comboBoxIndexChanged);
        const QString text = current.toString();
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i) == text) {
                combo->setCurrentIndex(i);
                break;
            }
        }
    } else if (auto* group = qobject_cast<ButtonGroupContainer*>(editor)) {
        listen = mute(group, &ButtonGroupContainer::buttonClicked, d.get(),
                      &PropertyEditorManagerPrivate::buttonGroupContainerButtonClicked);
        group->setSelectedText(current.toString());
    } else {
        qCWarning(lcEditor, "Unsupported editor widget: %p", static_cast<void*>(editor));
        return false;
    }
    if (!alive || !editorAlive)
        return false;
    listen();
    d->registerEditor(editor, name);
    return true;
}

bool PropertyEditorManager::bindEditor(MWidget* editor, const QString& name, const QAbstractItemModel* model,
                                       int column)
{
    const QVariant current = propertyValue(name);
    auto* combo = qobject_cast<MComboBox*>(editor);
    // Without a model there are no options to store.
    if (!combo || !model)
        return false;

    QMap<QString, QVariant> options;
    const QPointer<PropertyEditorManagerPrivate> alive(d.get());
    const QPointer<MComboBox> comboAlive(combo);
    const std::function<void()> listen
        = mute(combo, ComboBoxTextChanged, d.get(), &PropertyEditorManagerPrivate::comboBoxIndexChanged);
    for (int row = 0; row < combo->count(); ++row) {
        const QString text = model->data(model->index(row, 0), Qt::DisplayRole).toString();
        const QVariant value = model->data(model->index(row, column), Qt::DisplayRole);
        options.insert(text, value);
        // Every matching row is made current: the last one wins.
        if (value == current)
            combo->setCurrentIndex(row);
        // The combo box's own receivers may delete it, or the manager.
        if (!alive || !comboAlive)
            return false;
    }
    d->optionValues.insert(name, options);

    listen();
    d->registerEditor(combo, name);
    return true;
}

bool PropertyEditorManager::bindEditor(MWidget* editor, ValueKeyMapperIf* mapper)
{
    auto* edit = qobject_cast<MTextEdit*>(editor);
    if (!edit || !mapper)
        return false;
    connect(edit, &MTextEdit::textChanged, d.get(), &PropertyEditorManagerPrivate::mappedTextEditTextChanged,
            Qt::UniqueConnection);
    d->registerMappedEditor(edit, mapper);
    return true;
}

void PropertyEditorManagerPrivate::comboBoxIndexChanged(QString text)
{
    const QString name = propertyForEditor(sender());
    if (!name.isEmpty())
        applyEditorValue(name, text);
}

void PropertyEditorManagerPrivate::buttonGroupContainerButtonClicked(MButton* button)
{
    const QString name = propertyForEditor(sender());
    if (!name.isEmpty() && button)
        applyEditorValue(name, button->text());
}

void PropertyEditorManagerPrivate::buttonToggled(bool checked)
{
    const QString name = propertyForEditor(sender());
    if (!name.isEmpty())
        applyEditorValue(name, checked);
}

void PropertyEditorManagerPrivate::textEditTextChanged()
{
    auto* edit = qobject_cast<MTextEdit*>(sender());
    const QString name = propertyForEditor(sender());
    if (!edit || name.isEmpty())
        return;
    applyEditorValue(name, valueFor(edit->text(), q->propertyValue(name).type()));
}

void PropertyEditorManagerPrivate::mappedTextEditTextChanged()
{
    ValueKeyMapperIf* mapper = editorMappers.value(sender());
    if (!sender() || !mapper)
        return;
    // Asked all at once: a receiver of the first change may delete the
    // editor, and with it the mapper that interprets it, or the manager.
    const QString key = mapper->mappedKey();
    const QVariant value = mapper->mappedValue();
    const QStringList obsolete = mapper->obsoleteKeys();
    if (!applyEditorValue(key, value))
        return;
    for (const QString& name : obsolete) {
        if (!applyEditorValue(name, QVariant()))
            return;
    }
}

} // namespace Pavane

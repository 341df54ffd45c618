// Existing editors bound to properties, and the slots through which their
// changes flow into them.
#include <Pavane/buttongroupcontainer.h>
#include <Pavane/propertyeditormanager.h>
#include <Pavane/valuekeymapperif.h>

#include "propertyeditor/propertyeditormanager_p.h"

#include <MButton>
#include <MComboBox>
#include <MTextEdit>

#include <QAbstractItemModel>
#include <QLocale>
#include <QRegExp>

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

} // namespace

bool PropertyEditorManager::bindEditor(MWidget* editor, const QString& name, QVariant::Type type)
{
    const QVariant current = propertyValue(name);
    QVariant::Type effective = type;
    if (effective == QVariant::Invalid)
        effective = current.type();
    if (effective == QVariant::Invalid)
        effective = QVariant::String;

    // The property is prepared before the editor is looked at, so this also
    // happens for a widget that is then refused.
    if (!current.isValid()) {
        d->applyEditorValue(name, QVariant(effective));
    } else if (!d->objectMode) {
        QVariant converted = d->properties.value(name);
        converted.convert(int(effective));
        d->properties.insert(name, converted);
    }

    if (auto* edit = qobject_cast<MTextEdit*>(editor)) {
        edit->setText(textFor(current, effective));
        connect(edit, SIGNAL(textChanged()), d, SLOT(textEditTextChanged()), Qt::UniqueConnection);
    } else if (auto* button = qobject_cast<MButton*>(editor)) {
        button->setCheckable(true);
        button->setChecked(current.toBool());
        connect(button, SIGNAL(toggled(bool)), d, SLOT(buttonToggled(bool)), Qt::UniqueConnection);
    } else if (auto* combo = qobject_cast<MComboBox*>(editor)) {
        const QString text = current.toString();
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i) == text) {
                combo->setCurrentIndex(i);
                break;
            }
        }
        connect(combo, SIGNAL(currentIndexChanged(QString)), d, SLOT(comboBoxIndexChanged(QString)),
                Qt::UniqueConnection);
    } else if (auto* group = qobject_cast<ButtonGroupContainer*>(editor)) {
        group->setSelectedText(current.toString());
        connect(group, SIGNAL(buttonClicked(MButton*)), d, SLOT(buttonGroupContainerButtonClicked(MButton*)),
                Qt::UniqueConnection);
    } else {
        qWarning("Unsupported editor widget: %p", static_cast<void*>(editor));
        return false;
    }
    d->registerEditor(editor, name);
    return true;
}

bool PropertyEditorManager::bindEditor(MWidget* editor, const QString& name, const QAbstractItemModel* model,
                                       int column)
{
    const QVariant current = propertyValue(name);
    auto* combo = qobject_cast<MComboBox*>(editor);
    if (!combo)
        return false;

    QMap<QString, QVariant> options;
    for (int row = 0; row < combo->count(); ++row) {
        const QString text = model->data(model->index(row, 0), Qt::DisplayRole).toString();
        const QVariant value = model->data(model->index(row, column), Qt::DisplayRole);
        options.insert(text, value);
        // Every matching row is made current: the last one wins.
        if (value == current)
            combo->setCurrentIndex(row);
    }
    d->optionValues.insert(name, options);

    connect(combo, SIGNAL(currentIndexChanged(QString)), d, SLOT(comboBoxIndexChanged(QString)),
            Qt::UniqueConnection);
    d->registerEditor(combo, name);
    return true;
}

bool PropertyEditorManager::bindEditor(MWidget* editor, ValueKeyMapperIf* mapper)
{
    auto* edit = qobject_cast<MTextEdit*>(editor);
    if (!edit)
        return false;
    connect(edit, SIGNAL(textChanged()), d, SLOT(mappedTextEditTextChanged()), Qt::UniqueConnection);
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
    if (!name.isEmpty())
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
    applyEditorValue(mapper->mappedKey(), mapper->mappedValue());
    const QStringList obsolete = mapper->obsoleteKeys();
    for (const QString& key : obsolete)
        applyEditorValue(key, QVariant());
}

} // namespace Pavane

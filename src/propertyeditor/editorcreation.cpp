// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Ready-bound editors made by the manager.
#include <Pavane/buttongroupcontainer.h>
#include <Pavane/propertyeditormanager.h>

#include "propertyeditor/propertyeditormanager_p.h"
#include "logging/pavanelogging_p.h"

#include <MButton>
#include <MComboBox>
#include <MTextEdit>

#include <QStringListModel>

namespace Pavane {

MTextEdit* PropertyEditorManagerPrivate::createTextEdit()
{
    auto* edit = new MTextEdit(MTextEditModel::SingleLine, QString());
    edit->setInputMethodPredictionEnabled(false);
    edit->setInputMethodCorrectionEnabled(false);
    edit->setInputMethodAutoCapitalizationEnabled(false);
    return edit;
}

MTextEdit* PropertyEditorManagerPrivate::createNumberEdit()
{
    MTextEdit* edit = createTextEdit();
    edit->setContentType(M::NumberContentType);
    return edit;
}

MButton* PropertyEditorManagerPrivate::createCheckableButton()
{
    auto* button = new MButton;
    button->setCheckable(true);
    return button;
}

MWidget* PropertyEditorManagerPrivate::createSelectionEditor(const QString& name, const QStringList& labels,
                                                            const QList<QVariant>& values)
{
    const QVariant current = q->propertyValue(name);
    int selected = values.indexOf(current);
    if (selected < 0)
        selected = values.size();

    // The selection is made before the change signal is connected, so that
    // creating the editor announces nothing.
    if (buttonGroupLimit < labels.size()) {
        auto* combo = new MComboBox;
        combo->setStyleName(QStringLiteral("CommonComboBox"));
        combo->setItemModel(new QStringListModel(labels, this));
        if (selected < labels.size())
            combo->setCurrentIndex(selected);
        connect(combo, QOverload<const QString&>::of(&MComboBox::currentIndexChanged), this,
                &PropertyEditorManagerPrivate::comboBoxIndexChanged, Qt::UniqueConnection);
        return combo;
    }
    auto* group = new ButtonGroupContainer;
    for (int i = 0; i < labels.size(); ++i)
        group->addButton(labels.at(i), i == selected);
    connect(group, &ButtonGroupContainer::buttonClicked, this,
            &PropertyEditorManagerPrivate::buttonGroupContainerButtonClicked, Qt::UniqueConnection);
    return group;
}

MWidget* PropertyEditorManager::createEditor(const QString& name, QVariant::Type type)
{
    QVariant::Type effective = type;
    if (effective == QVariant::Invalid)
        effective = propertyValue(name).type();
    if (effective == QVariant::Invalid)
        effective = QVariant::String;

    MWidget* editor = nullptr;
    if (effective == QVariant::Bool)
        editor = d->createCheckableButton();
    else if (effective == QVariant::Int)
        editor = d->createNumberEdit();
    else
        editor = d->createTextEdit();
    bindEditor(editor, name, effective);
    editor->setObjectName(name);
    return editor;
}

MWidget* PropertyEditorManager::createEditor(const QString& name, const QStringList& labels,
                                             const QList<QVariant>& values)
{
    // A label without a value could be shown but never stored: only the
    // options that have both are offered.
    QStringList offered = labels;
    if (values.size() < labels.size()) {
        qCWarning(lcEditor, "PropertyEditorManager: %d labels but %d values for \"%s\"; "
                  "the labels without value are left out",
                  int(labels.size()), int(values.size()), qPrintable(name));
        offered = labels.mid(0, values.size());
    }

    QMap<QString, QVariant> options;
    for (int i = 0; i < offered.size(); ++i)
        options.insert(offered.at(i), values.at(i));
    d->optionValues.insert(name, options);

    MWidget* widget = d->createSelectionEditor(name, offered, values);
    d->registerEditor(widget, name);
    widget->setObjectName(name);
    return widget;
}

MWidget* PropertyEditorManager::createEditor(const QString& name, const QVariant& trueValue,
                                             const QVariant& falseValue)
{
    d->optionValues.insert(name, {{QStringLiteral("true"), trueValue}, {QStringLiteral("false"), falseValue}});
    MButton* button = d->createCheckableButton();
    button->setChecked(propertyValue(name) == trueValue);
    connect(button, &MButton::toggled, d.get(), &PropertyEditorManagerPrivate::buttonToggled,
            Qt::UniqueConnection);
    d->registerEditor(button, name);
    button->setObjectName(name);
    return button;
}

} // namespace Pavane

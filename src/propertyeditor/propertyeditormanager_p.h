// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_PROPERTYEDITORMANAGER_P_H
#define PAVANE_PROPERTYEDITORMANAGER_P_H

#include <Pavane/propertyeditormanager.h>

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

class MButton;
class MTextEdit;
class QSignalMapper;

namespace Pavane {

class ValueKeyMapperIf;

class PropertyEditorManagerPrivate : public QObject
{
    Q_OBJECT

public:
    explicit PropertyEditorManagerPrivate(PropertyEditorManager* q);
    ~PropertyEditorManagerPrivate() override;

    // The registry and the one path of editor changes into properties.
    void registerEditor(QObject* editor, const QString& name);
    void registerMappedEditor(QObject* editor, ValueKeyMapperIf* mapper);
    QString propertyForEditor(QObject* editor) const;
    // False when a receiver deleted the manager meanwhile.
    bool applyEditorValue(const QString& name, const QVariant& value);
    void store(const QString& name, const QVariant& value);

    // Editor creation.
    MTextEdit* createTextEdit();
    MTextEdit* createNumberEdit();
    MButton* createCheckableButton();
    MWidget* createSelectionEditor(const QString& name, const QStringList& labels,
                                   const QList<QVariant>& values);

    PropertyEditorManager* const q;
    QMap<QObject*, QString> editorProperties;
    QMap<QObject*, ValueKeyMapperIf*> editorMappers;
    QMap<QString, QVariant> properties;
    // Guarded: the object is not owned and may go before the manager.
    QPointer<QObject> targetObject;
    bool objectMode = false;
    QMap<QString, QMap<QString, QVariant>> optionValues;
    QSignalMapper* signalMapper = nullptr;
    int buttonGroupLimit = 3;

public Q_SLOTS:
    void widgetDestroyed(QObject* object);
    void comboBoxIndexChanged(QString text);
    void buttonGroupContainerButtonClicked(MButton* button);
    void textEditTextChanged();
    void mappedTextEditTextChanged();
    void buttonToggled(bool checked);
};

} // namespace Pavane

#endif

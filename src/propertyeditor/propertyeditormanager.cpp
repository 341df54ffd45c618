// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/propertyeditormanager.h>
#include <Pavane/valuekeymapperif.h>

#include "propertyeditor/propertyeditormanager_p.h"

#include <MWidget>

#include <QSignalMapper>

namespace Pavane {

ValueKeyMapperIf::~ValueKeyMapperIf() = default;

PropertyEditorManagerPrivate::PropertyEditorManagerPrivate(PropertyEditorManager* q)
    : q(q)
{
}

PropertyEditorManagerPrivate::~PropertyEditorManagerPrivate()
{
    // First, so that no editor destroyed from here on reaches the registry.
    delete signalMapper;
    signalMapper = nullptr;
}

void PropertyEditorManagerPrivate::registerEditor(QObject* editor, const QString& name)
{
    editorProperties.insert(editor, name);
    registerMappedEditor(editor, nullptr);
}

void PropertyEditorManagerPrivate::registerMappedEditor(QObject* editor, ValueKeyMapperIf* mapper)
{
    if (mapper)
        editorMappers.insert(editor, mapper);
    if (!signalMapper) {
        signalMapper = new QSignalMapper(this);
        connect(signalMapper, &QSignalMapper::mappedObject, this,
                &PropertyEditorManagerPrivate::widgetDestroyed);
    }
    // The mapper's map() must see the destruction before the mapper's own
    // clean-up of the mapping, so the connection comes first.
    connect(editor, &QObject::destroyed, signalMapper, QOverload<>::of(&QSignalMapper::map),
            Qt::UniqueConnection);
    signalMapper->setMapping(editor, editor);
}

QString PropertyEditorManagerPrivate::propertyForEditor(QObject* editor) const
{
    return editorProperties.value(editor);
}

void PropertyEditorManagerPrivate::store(const QString& name, const QVariant& value)
{
    if (!objectMode)
        properties.insert(name, value);
    else if (targetObject)
        targetObject->setProperty(name.toLatin1().constData(), value);
}

bool PropertyEditorManagerPrivate::applyEditorValue(const QString& name, const QVariant& value)
{
    QVariant stored = value;
    const auto options = optionValues.constFind(name);
    if (options != optionValues.constEnd())
        stored = options->value(value.toString());
    // Writing a property of the bound object may tell its own receivers,
    // and those of propertyChanged() may delete the manager.
    const QPointer<PropertyEditorManagerPrivate> alive(this);
    store(name, stored);
    if (!alive)
        return false;
    Q_EMIT q->propertyChanged(name);
    return alive;
}

void PropertyEditorManagerPrivate::widgetDestroyed(QObject* object)
{
    // An editor may be bound both by name and through a mapper: it leaves both.
    editorMappers.remove(object);
    editorProperties.remove(object);
    signalMapper->removeMappings(object);
}

PropertyEditorManager::PropertyEditorManager(QObject* object, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<PropertyEditorManagerPrivate>(this))
{
    d->targetObject = object;
    d->objectMode = object != nullptr;
}

PropertyEditorManager::PropertyEditorManager(const QMap<QString, QVariant>& properties, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<PropertyEditorManagerPrivate>(this))
{
    d->properties = properties;
}

PropertyEditorManager::~PropertyEditorManager() = default;

QVariant PropertyEditorManager::propertyValue(const QString& name) const
{
    if (!d->objectMode)
        return d->properties.value(name);
    return d->targetObject ? d->targetObject->property(name.toLatin1().constData()) : QVariant();
}

void PropertyEditorManager::setPropertyValue(const QString& name, const QVariant& value)
{
    d->store(name, value);
}

void PropertyEditorManager::setPropertyValueWithNotification(const QString& name, const QVariant& value)
{
    d->store(name, value);
    Q_EMIT propertyChanged(name);
}

QMap<QString, QVariant> PropertyEditorManager::properties() const
{
    return d->objectMode ? QMap<QString, QVariant>() : d->properties;
}

MWidget* PropertyEditorManager::widgetForProperty(const QString& name) const
{
    for (auto it = d->editorProperties.cbegin(); it != d->editorProperties.cend(); ++it) {
        if (it.value() == name)
            return qobject_cast<MWidget*>(it.key());
    }
    return nullptr;
}

int PropertyEditorManager::buttonGroupLimit() const
{
    return d->buttonGroupLimit;
}

void PropertyEditorManager::setButtonGroupLimit(int limit)
{
    d->buttonGroupLimit = limit;
}

} // namespace Pavane

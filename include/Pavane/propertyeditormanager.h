// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_PROPERTYEDITORMANAGER_H
#define PAVANE_PROPERTYEDITORMANAGER_H

#include <Pavane/pavanedlg_export.h>

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>

class MWidget;
class QAbstractItemModel;

namespace Pavane {

class PropertyEditorManagerPrivate;
class ValueKeyMapperIf;

/**
 * Named values ("properties") of a settings form, and editor widgets tied to
 * them: every change that the user makes in an editor is written into its
 * property and announced by propertyChanged().
 *
 * The properties live in the Qt properties of an object (object mode) or in
 * a map that the manager holds (map mode). Editors come ready-made from
 * createEditor() or are existing widgets bound with bindEditor(): text edits,
 * switches and check boxes (MButton), combo boxes and ButtonGroupContainers.
 * Editors are filled from the property when created or bound; later changes
 * of the property do not reach them. The caller owns the editors; the
 * manager forgets an editor when it is destroyed. A receiver of
 * propertyChanged() may delete the editor or the manager. GUI thread only.
 */
class PAVANEDLG_EXPORT PropertyEditorManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int buttonGroupLimit READ buttonGroupLimit WRITE setButtonGroupLimit)

public:
    /**
     * Object mode over @p object's Qt properties (names that it does not
     * declare become dynamic properties); map mode when it is null. The
     * object is not owned; once it is destroyed, properties read as invalid
     * and writes go nowhere.
     */
    explicit PropertyEditorManager(QObject* object, QObject* parent = nullptr);
    /** Map mode over a copy of @p properties. */
    explicit PropertyEditorManager(const QMap<QString, QVariant>& properties, QObject* parent = nullptr);
    /** Unbinds every editor; the editors stay as they are. */
    ~PropertyEditorManager() override;

    /** The value of property @p name; an invalid variant when it has none. */
    QVariant propertyValue(const QString& name) const;
    /** Stores @p value as property @p name; emits nothing and updates no editor. */
    void setPropertyValue(const QString& name, const QVariant& value);
    /**
     * Stores @p value as property @p name and emits propertyChanged(),
     * changed or not; updates no editor.
     */
    void setPropertyValueWithNotification(const QString& name, const QVariant& value);
    /** The properties in map mode; empty in object mode. */
    QMap<QString, QVariant> properties() const;
    /** An editor bound to @p name (not through a mapper), or null. */
    MWidget* widgetForProperty(const QString& name) const;

    /**
     * The most options shown as a button group rather than a combo box
     * (3 unless changed); see createEditor() with labels.
     */
    int buttonGroupLimit() const;
    /**
     * Sets buttonGroupLimit() to @p limit; takes effect for editors created
     * afterwards (0 or less: always a combo box).
     */
    void setButtonGroupLimit(int limit);

    /**
     * An editor for @p name by value type (the property's own when
     * QVariant::Invalid, else a string): a checkable button for bool, a
     * number edit for int, a text edit for anything else. The caller owns it.
     */
    MWidget* createEditor(const QString& name, QVariant::Type type);
    /**
     * A selection among options: label i shows and stores value i. Up to
     * buttonGroupLimit() options give a button group, more a combo box.
     * Labels beyond the end of @p values have no value and are left out,
     * with a warning.
     */
    MWidget* createEditor(const QString& name, const QStringList& labels, const QList<QVariant>& values);
    /** A switch that stores @p trueValue when checked, @p falseValue when not. */
    MWidget* createEditor(const QString& name, const QVariant& trueValue, const QVariant& falseValue);

    /**
     * Binds an existing @p editor (a text edit, button, combo box or
     * ButtonGroupContainer) to property @p name of @p type, and fills it
     * from the property. A property without a value first gets the empty
     * value of @p type (of a string when QVariant::Invalid) and
     * propertyChanged(); in map mode a value is converted to @p type.
     * Returns false, with a warning, for any other widget, or when a
     * receiver deleted the editor or the manager meanwhile.
     */
    bool bindEditor(MWidget* editor, const QString& name, QVariant::Type type);
    /**
     * Binds a combo box @p editor to property @p name, its rows being the
     * rows of @p model: column 0 the texts, column @p column the values
     * stored. The row whose value the property holds becomes current. False
     * for another widget or a null model. The model is read once, here.
     */
    bool bindEditor(MWidget* editor, const QString& name, const QAbstractItemModel* model, int column);
    /**
     * Binds a text edit @p editor through @p mapper (not owned): see
     * ValueKeyMapperIf. Nothing is filled in or stored until the text
     * changes. False for another widget or a null mapper.
     */
    bool bindEditor(MWidget* editor, ValueKeyMapperIf* mapper);

Q_SIGNALS:
    /**
     * The user changed the editor of @p property (its new value is already
     * stored), or setPropertyValueWithNotification() or bindEditor() wrote
     * it. A receiver may delete the editor or the manager.
     */
    void propertyChanged(const QString& property);

private:
    std::unique_ptr<PropertyEditorManagerPrivate> const d;
};

} // namespace Pavane

#endif

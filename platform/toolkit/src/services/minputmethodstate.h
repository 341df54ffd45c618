// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MINPUTMETHODSTATE_H
#define MINPUTMETHODSTATE_H

#include "tesseltouchcore_export.h"

#include <QHash>
#include <QObject>
#include <QVariant>

// The input method's side of the application: attribute extensions (ids that
// text fields attach, carrying attributes of the virtual keyboard's items,
// such as the action key's label) and the software input panel.
class TT_EXPORT MInputMethodState : public QObject
{
    Q_OBJECT

public:
    static MInputMethodState* instance();

    // Returns a new id (>= 0); @p fileName may name a toolbar description.
    int registerAttributeExtension(const QString& fileName = QString());
    void unregisterAttributeExtension(int id);
    bool isAttributeExtensionRegistered(int id) const;

    void setExtendedAttribute(int id, const QString& target, const QString& targetItem,
                              const char* attribute, const QVariant& value);
    // The attribute last set; invalid when never set or the id is not registered.
    QVariant extendedAttribute(int id, const QString& target, const QString& targetItem,
                               const char* attribute) const;

    bool isSoftwareInputPanelVisible() const;

public Q_SLOTS:
    void requestSoftwareInputPanel();
    void closeSoftwareInputPanel();

Q_SIGNALS:
    void extendedAttributeChanged(int id, const QString& target, const QString& targetItem,
                                  const QString& attribute, const QVariant& value);
    void softwareInputPanelVisibilityChanged(bool visible);

private:
    MInputMethodState();
    ~MInputMethodState() override;

    QHash<int, QHash<QString, QVariant>> m_attributes;
    int m_nextId = 0;
    bool m_panelVisible = false;
};

#endif

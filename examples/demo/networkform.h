// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#ifndef PAVANE_DEMO_NETWORKFORM_H
#define PAVANE_DEMO_NETWORKFORM_H

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

class MButton;
class MTextEdit;
class MWidget;

namespace Pavane {
class ButtonGroupContainer;
class DrillDownItem;
class KeyTextEdit;
class PrefixTextEdit;
class PropertyEditorManager;
}

// An access point as the store holds it, for the list under the form.
struct StoredNetwork {
    QString id;
    QString name;
    QString ssid;
    QString security;
};

// The body of the "connect to a network" sheet: editors that the property
// editor manager creates or binds, in captioned frames, and the list of the
// stored access points. Every editor writes the manager's property of the
// same name, which is the store's key.
struct NetworkForm {
    MWidget* body = nullptr;
    MTextEdit* name = nullptr;
    MTextEdit* ssid = nullptr;
    Pavane::ButtonGroupContainer* security = nullptr;
    Pavane::KeyTextEdit* key = nullptr;
    Pavane::PrefixTextEdit* proxy = nullptr;
    MButton* autoConnect = nullptr;
    MButton* hidden = nullptr;
    QList<Pavane::DrillDownItem*> stored;

    // The properties of a new access point, before the user has typed anything.
    static QMap<QString, QVariant> blankRecord();
    static NetworkForm build(Pavane::PropertyEditorManager* manager, const QList<StoredNetwork>& stored);

    // A WPA key: 8 to 63 printable characters, or 64 hexadecimal digits.
    bool keyIsComplete() const;
};

#endif

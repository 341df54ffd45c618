// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef TRACKER_TRACKERPLUGIN_H
#define TRACKER_TRACKERPLUGIN_H

#include <QtContacts/QContactManagerEngineFactory>

// Makes the store known to QtContacts as the backend "tracker". The store's
// directory is, in this order: the manager parameter "directory", the
// environment variable TRACKER_CONTACTS_DIR, ContactStore::defaultDirectory().
class TrackerPlugin : public QtContacts::QContactManagerEngineFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QT_CONTACT_MANAGER_ENGINE_INTERFACE FILE "tracker.json")

public:
    QtContacts::QContactManagerEngine* engine(const QMap<QString, QString>& parameters,
                                              QtContacts::QContactManager::Error* error) override;
    QString managerName() const override;
};

#endif

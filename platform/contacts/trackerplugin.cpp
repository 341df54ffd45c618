// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "trackerplugin.h"

#include "contactstore.h"
#include "trackerengine.h"

QTCONTACTS_USE_NAMESPACE

QContactManagerEngine* TrackerPlugin::engine(const QMap<QString, QString>& parameters,
                                             QContactManager::Error* error)
{
    QString directory = parameters.value(QStringLiteral("directory"));
    if (directory.isEmpty())
        directory = qEnvironmentVariable("TRACKER_CONTACTS_DIR");
    if (directory.isEmpty())
        directory = ContactStore::defaultDirectory();
    *error = QContactManager::NoError;
    return new TrackerEngine(directory);
}

QString TrackerPlugin::managerName() const
{
    return QStringLiteral("tracker");
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "notificationserver.h"

#include <QDebug>
#include <QTimer>

NotificationServer::NotificationServer(QObject* parent)
    : QObject(parent)
{
}

NotificationServer::~NotificationServer() = default;

uint NotificationServer::notify(const QString& appName, uint replacesId, const QString& appIcon,
                                const QString& summary, const QString& body, const QStringList& actions,
                                const QVariantMap& hints, int expireTimeout)
{
    // Replacing an id that is gone shows a new notification.
    const uint id = replacesId && notifications.contains(replacesId) ? replacesId : nextId++;
    Notification& n = notifications[id];
    delete n.expiry;
    n = Notification{appName, appIcon, summary, body, actions, hints, nullptr};
    if (expireTimeout > 0) {
        n.expiry = new QTimer(this);
        n.expiry->setSingleShot(true);
        connect(n.expiry, &QTimer::timeout, this, [this, id] { close(id, Expired); });
        n.expiry->start(expireTimeout);
    }
    qInfo("%s %u: \"%s\" (%s)", replacesId == id ? "updated" : "shown", id, qPrintable(summary),
          qPrintable(hints.value(QStringLiteral("category")).toString()));
    return id;
}

bool NotificationServer::close(uint id, CloseReason reason)
{
    auto it = notifications.find(id);
    if (it == notifications.end())
        return false;
    delete it->expiry;
    notifications.erase(it);
    qInfo("closed %u (reason %d)", id, int(reason));
    Q_EMIT NotificationClosed(id, reason);
    return true;
}

bool NotificationServer::invoke(uint id, const QString& actionKey)
{
    const Notification* n = find(id);
    if (!n)
        return false;
    // Action keys are the even entries of the list.
    bool offered = false;
    for (int i = 0; i + 1 < n->actions.size(); i += 2)
        offered |= n->actions.at(i) == actionKey;
    if (!offered)
        return false;
    // A tapped notification goes, unless it asked to stay; decided before
    // the emission, after which the notification may be gone.
    const bool resident = n->hints.value(QStringLiteral("resident")).toBool();
    qInfo("invoked %u \"%s\"", id, qPrintable(actionKey));
    Q_EMIT ActionInvoked(id, actionKey);
    if (!resident)
        close(id, Dismissed);
    return true;
}

QList<uint> NotificationServer::ids() const
{
    return notifications.keys();
}

const Notification* NotificationServer::find(uint id) const
{
    const auto it = notifications.constFind(id);
    return it == notifications.constEnd() ? nullptr : &it.value();
}

NotificationsAdaptor::NotificationsAdaptor(NotificationServer* server)
    : QDBusAbstractAdaptor(server)
    , server(server)
{
    setAutoRelaySignals(true);
}

QStringList NotificationsAdaptor::GetCapabilities()
{
    return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("icon-static")};
}

uint NotificationsAdaptor::Notify(const QString& app_name, uint replaces_id, const QString& app_icon,
                                  const QString& summary, const QString& body, const QStringList& actions,
                                  const QVariantMap& hints, int expire_timeout)
{
    return server->notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout);
}

void NotificationsAdaptor::CloseNotification(uint id)
{
    server->close(id, NotificationServer::ClosedByCall);
}

QString NotificationsAdaptor::GetServerInformation(QString& vendor, QString& version, QString& spec_version)
{
    vendor = QStringLiteral("Pavane");
    version = QStringLiteral(TOOL_VERSION);
    spec_version = QStringLiteral("1.2");
    return QStringLiteral("notifyd");
}

ControlAdaptor::ControlAdaptor(NotificationServer* server)
    : QDBusAbstractAdaptor(server)
    , server(server)
{
}

QList<uint> ControlAdaptor::Ids()
{
    return server->ids();
}

QString ControlAdaptor::Get(uint id, QString& body, QString& icon, QString& category)
{
    const Notification* n = server->find(id);
    if (!n)
        return {};
    body = n->body;
    icon = n->appIcon;
    category = n->hints.value(QStringLiteral("category")).toString();
    return n->summary;
}

bool ControlAdaptor::Invoke(uint id, const QString& action_key)
{
    return server->invoke(id, action_key);
}

bool ControlAdaptor::Dismiss(uint id)
{
    return server->close(id, NotificationServer::Dismissed);
}

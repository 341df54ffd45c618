// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef NOTIFYD_NOTIFICATIONSERVER_H
#define NOTIFYD_NOTIFICATIONSERVER_H

#include <QDBusAbstractAdaptor>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QTimer;

// One notification as the server keeps it.
struct Notification
{
    QString appName;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions; // key, label, key, label, ...
    QVariantMap hints;
    QTimer* expiry = nullptr;
};

// The notifications themselves: what the standard interface and the control
// interface both work on.
class NotificationServer : public QObject
{
    Q_OBJECT

public:
    enum CloseReason { Expired = 1, Dismissed = 2, ClosedByCall = 3 };

    explicit NotificationServer(QObject* parent = nullptr);
    ~NotificationServer() override;

    uint notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);
    bool close(uint id, CloseReason reason);
    bool invoke(uint id, const QString& actionKey);
    QList<uint> ids() const;
    const Notification* find(uint id) const;

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& actionKey);

private:
    QMap<uint, Notification> notifications;
    uint nextId = 1;
};

// org.freedesktop.Notifications, as the desktop standard has it.
class NotificationsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit NotificationsAdaptor(NotificationServer* server);

public Q_SLOTS:
    QStringList GetCapabilities();
    uint Notify(const QString& app_name, uint replaces_id, const QString& app_icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expire_timeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& spec_version);

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& action_key);

private:
    NotificationServer* server;
};

// com.zelkor.NotificationServer.Control: what a person at the screen would
// see and do, for tests and the demo.
class ControlAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.zelkor.NotificationServer.Control")

public:
    explicit ControlAdaptor(NotificationServer* server);

public Q_SLOTS:
    // The ids of the notifications shown, oldest first.
    QList<uint> Ids();
    // One notification: summary, body, icon, category; empty strings when gone.
    QString Get(uint id, QString& body, QString& icon, QString& category);
    // Taps a notification: invokes its action @p action_key ("default").
    bool Invoke(uint id, const QString& action_key);
    // Swipes it away.
    bool Dismiss(uint id);

private:
    NotificationServer* server;
};

#endif

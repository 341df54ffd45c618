// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MNOTIFICATION_H
#define MNOTIFICATION_H

#include "tesseltouchcore_export.h"

#include <QObject>
#include <QPointer>

class MRemoteAction;

// A notification in the notification area, shown by whatever notification
// server runs on the session bus (org.freedesktop.Notifications).
//
// publish() shows it, or updates it when it is already shown; remove()
// withdraws it; isPublished() follows the server, which may close it by
// itself or go away. The event type travels as the notification's
// category, the image as its icon. With an action set, the notification
// offers its default action, and when the server reports it invoked (the
// user tapped the notification) the action's D-Bus call is made. Without a server,
// publish() fails quietly.
class TT_EXPORT MNotification : public QObject
{
    Q_OBJECT

public:
    explicit MNotification(const QString& eventType, const QString& summary = QString(),
                           const QString& body = QString());
    ~MNotification() override;

    QString eventType() const;
    QString summary() const;
    void setSummary(const QString& summary);
    QString body() const;
    void setBody(const QString& body);
    QString image() const;
    void setImage(const QString& image);
    // The action is not owned.
    void setAction(const MRemoteAction& action);
    void setAction(MRemoteAction* action);

    // Shows or updates it; false when no server took it.
    bool publish();
    bool remove();
    bool isPublished() const;
    // The server's id while published, else 0.
    uint id() const;

private Q_SLOTS:
    void notificationClosed(uint id, uint reason);
    void actionInvoked(uint id, const QString& actionKey);

private:
    void subscribe();
    void forget();

    QString m_eventType;
    QString m_summary;
    QString m_body;
    QString m_image;
    QPointer<MRemoteAction> m_action;
    MRemoteAction* m_ownAction = nullptr;
    uint m_id = 0;
    QString m_server; // the unique name of the server that gave m_id
    bool m_subscribed = false;
};

#endif

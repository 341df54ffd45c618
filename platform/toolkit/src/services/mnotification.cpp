// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mnotification.h"

#include "mremoteaction.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString DefaultAction = QStringLiteral("default");

bool serverGone(const QDBusMessage& reply)
{
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
        || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown");
}

} // namespace

MNotification::MNotification(const QString& eventType, const QString& summary, const QString& body)
    : m_eventType(eventType)
    , m_summary(summary)
    , m_body(body)
{
}

MNotification::~MNotification()
{
    delete m_ownAction;
}

QString MNotification::eventType() const { return m_eventType; }
QString MNotification::summary() const { return m_summary; }
void MNotification::setSummary(const QString& summary) { m_summary = summary; }
QString MNotification::body() const { return m_body; }
void MNotification::setBody(const QString& body) { m_body = body; }
QString MNotification::image() const { return m_image; }
void MNotification::setImage(const QString& image) { m_image = image; }

void MNotification::setAction(const MRemoteAction& action)
{
    delete m_ownAction;
    m_ownAction = new MRemoteAction(action.serviceName(), action.objectPath(), action.interface(),
                                    action.methodName(), action.arguments());
    m_action = m_ownAction;
}

void MNotification::setAction(MRemoteAction* action)
{
    m_action = action;
}

void MNotification::subscribe()
{
    if (m_subscribed)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_subscribed = bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                               SLOT(notificationClosed(uint,uint)))
        && bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                       SLOT(actionInvoked(uint,QString)));
    if (!m_subscribed)
        return;
    // A server that goes takes its notifications along, and the next one
    // hands out ids of its own: ours may then name someone else's.
    auto* watcher = new QDBusServiceWatcher(Service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString&) {
                if (oldOwner == m_server)
                    forget();
            });
}

void MNotification::forget()
{
    m_id = 0;
    m_server.clear();
}

bool MNotification::publish()
{
    subscribe();
    QVariantMap hints;
    if (!m_eventType.isEmpty())
        hints.insert(QStringLiteral("category"), m_eventType);
    const QStringList actions = m_action ? QStringList{DefaultAction, QString()} : QStringList();

    const auto notify = [&](const QString& server, uint replaced) {
        QDBusMessage call = QDBusMessage::createMethodCall(server, Path, Interface, QStringLiteral("Notify"));
        call << QCoreApplication::applicationName() << replaced << m_image << m_summary << m_body << actions
             << hints << int(-1);
        return QDBusConnection::sessionBus().call(call);
    };
    // Shown again under its own id, by the very server that gave it, which
    // replaces it. When that server has gone and the news of it is still
    // on its way, it is shown anew by whichever server there is now.
    QDBusMessage reply;
    if (m_id)
        reply = notify(m_server, m_id);
    if (!m_id || serverGone(reply))
        reply = notify(Service, 0);
    const QDBusReply<uint> id(reply);
    if (!id.isValid() || id.value() == 0) {
        forget();
        return false;
    }
    m_id = id.value();
    m_server = reply.service();
    return true;
}

bool MNotification::remove()
{
    if (!m_id)
        return false;
    QDBusMessage close = QDBusMessage::createMethodCall(m_server, Path, Interface,
                                                        QStringLiteral("CloseNotification"));
    close << m_id;
    forget();
    return QDBusConnection::sessionBus().call(close).type() == QDBusMessage::ReplyMessage;
}

bool MNotification::isPublished() const
{
    return m_id != 0;
}

uint MNotification::id() const
{
    return m_id;
}

void MNotification::notificationClosed(uint id, uint)
{
    if (id != 0 && id == m_id)
        forget();
}

void MNotification::actionInvoked(uint id, const QString& actionKey)
{
    if (id != 0 && id == m_id && actionKey == DefaultAction && m_action)
        m_action->trigger();
}

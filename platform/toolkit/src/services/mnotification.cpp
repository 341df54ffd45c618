#include "mnotification.h"

#include "mremoteaction.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString DefaultAction = QStringLiteral("default");

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
}

bool MNotification::publish()
{
    subscribe();
    QVariantMap hints;
    if (!m_eventType.isEmpty())
        hints.insert(QStringLiteral("category"), m_eventType);
    const QStringList actions = m_action ? QStringList{DefaultAction, QString()} : QStringList();

    QDBusMessage notify = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    // Shown again under its own id: the server replaces it.
    notify << QCoreApplication::applicationName() << m_id << m_image << m_summary << m_body << actions
           << hints << int(-1);
    const QDBusReply<uint> reply = QDBusConnection::sessionBus().call(notify);
    if (!reply.isValid()) {
        m_id = 0;
        return false;
    }
    m_id = reply.value();
    return true;
}

bool MNotification::remove()
{
    if (!m_id)
        return false;
    QDBusMessage close = QDBusMessage::createMethodCall(Service, Path, Interface,
                                                        QStringLiteral("CloseNotification"));
    close << m_id;
    m_id = 0;
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
        m_id = 0;
}

void MNotification::actionInvoked(uint id, const QString& actionKey)
{
    if (id != 0 && id == m_id && actionKey == DefaultAction && m_action)
        m_action->trigger();
}

#include <Pavane/simplenotification.h>

#include "notifications/simplenotification_p.h"

#include <MNotification>
#include <MRemoteAction>

#include <QDBusConnection>
#include <QPointer>
#include <QTimerEvent>
#include <QUuid>

namespace Pavane {

namespace {

const QString CallbackInterface = QStringLiteral("com.zelkor.SimpleNotificationCallback");
const QString PathPrefix = QStringLiteral("/com/zelkor/SimpleNotification/");

} // namespace

SimpleNotificationDBusAdaptor::SimpleNotificationDBusAdaptor(SimpleNotificationPrivate* owner)
    : QDBusAbstractAdaptor(owner)
    , owner(owner)
{
}

void SimpleNotificationDBusAdaptor::activate()
{
    owner->activate();
}

SimpleNotificationPrivate::SimpleNotificationPrivate(const QString& eventType, const QString& summary,
                                                     const QString& body, const QString& image)
{
    new SimpleNotificationDBusAdaptor(this);
    // 32 hexadecimal digits: a path of its own for every notification.
    path = PathPrefix + QUuid::createUuid().toString(QUuid::Id128);
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.registerObject(path, this, QDBusConnection::ExportAdaptors);

    action = new MRemoteAction(bus.baseService(), path, CallbackInterface, QStringLiteral("activate"),
                               QList<QVariant>(), this);
    notification = new MNotification(eventType, summary, body);
    notification->setImage(image);
    notification->setAction(action);
    notification->publish();
}

SimpleNotificationPrivate::~SimpleNotificationPrivate()
{
    notification->remove();
    delete notification;
    owners.clear();
    QDBusConnection::sessionBus().unregisterObject(path);
}

void SimpleNotificationPrivate::emitOnOwners(void (SimpleNotification::*signal)())
{
    // A receiver may delete handles, even the last one and with it this
    // object: each handle is looked up again before it is told.
    QPointer<SimpleNotificationPrivate> alive(this);
    const QSet<SimpleNotification*> snapshot = owners;
    for (SimpleNotification* owner : snapshot) {
        if (!alive)
            return;
        if (owners.contains(owner))
            Q_EMIT(owner->*signal)();
    }
}

void SimpleNotificationPrivate::activate()
{
    emitOnOwners(&SimpleNotification::activated);
}

void SimpleNotificationPrivate::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timerId || timerId == 0)
        return;
    killTimer(timerId);
    timerId = 0;
    timeout = 0;
    notification->remove();
    emitOnOwners(&SimpleNotification::timeouted);
}

SimpleNotification::SimpleNotification(const QString& eventType, const QString& summary, const QString& body,
                                       const QString& image, QObject* parent)
    : QObject(parent)
    , d(new SimpleNotificationPrivate(eventType, summary, body, image))
{
    d->owners.insert(this);
}

SimpleNotification::SimpleNotification(const SimpleNotification& other)
    : QObject(nullptr)
    , d(other.d)
{
    d->owners.insert(this);
}

SimpleNotification& SimpleNotification::operator=(const SimpleNotification& other)
{
    if (other.d == d)
        return *this;
    d->owners.remove(this);
    d = other.d; // the old one goes with its last handle
    d->owners.insert(this);
    return *this;
}

SimpleNotification::~SimpleNotification()
{
    if (!d->owners.isEmpty())
        d->owners.remove(this);
}

bool SimpleNotification::operator==(const SimpleNotification& other) const
{
    return d == other.d;
}

SimpleNotification* SimpleNotification::show(const QString& eventType, const QString& summary,
                                             const QString& body, const QString& image)
{
    auto* handle = new SimpleNotification(eventType, summary, body, image);
    connect(handle, SIGNAL(activated()), handle, SLOT(deleteLater()));
    connect(handle, SIGNAL(timeouted()), handle, SLOT(deleteLater()));
    handle->setTimeout(5);
    return handle;
}

void SimpleNotification::update(const QString&, const QString& summary, const QString& body,
                                const QString& image)
{
    d->notification->setSummary(summary);
    d->notification->setBody(body);
    d->notification->setImage(image);
    // A published notification shows the change at once.
    if (d->notification->isPublished())
        d->notification->publish();
}

bool SimpleNotification::isValid() const
{
    return d->notification->isPublished();
}

int SimpleNotification::timeout()
{
    return d->timeout;
}

void SimpleNotification::setTimeout(int seconds)
{
    d->timeout = seconds;
    if (d->timerId) {
        d->killTimer(d->timerId);
        d->timerId = 0;
    }
    if (seconds >= 1)
        d->timerId = d->startTimer(1000 * seconds);
}

void SimpleNotification::remove()
{
    d->notification->remove();
    if (d->timerId) {
        d->killTimer(d->timerId);
        d->timerId = 0;
    }
}

} // namespace Pavane

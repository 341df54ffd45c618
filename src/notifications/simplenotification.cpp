// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
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

NotificationCallbackAdaptor::NotificationCallbackAdaptor(SharedNotification* owner)
    : QDBusAbstractAdaptor(owner)
    , owner(owner)
{
}

void NotificationCallbackAdaptor::activate()
{
    owner->activate();
}

SharedNotification::SharedNotification(const QString& eventType, const QString& summary,
                                       const QString& body, const QString& image)
{
    new NotificationCallbackAdaptor(this);
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

SharedNotification::~SharedNotification()
{
    notification->remove();
    delete notification;
    owners.clear();
    QDBusConnection::sessionBus().unregisterObject(path);
}

void SharedNotification::emitOnOwners(void (SimpleNotification::*signal)())
{
    // A receiver may delete handles, even the last one and with it this
    // object: each handle is looked up again before it is told.
    const QPointer<SharedNotification> alive(this);
    const QSet<SimpleNotification*> snapshot = owners;
    for (SimpleNotification* owner : snapshot) {
        if (!alive)
            return;
        if (owners.contains(owner))
            Q_EMIT(owner->*signal)();
    }
}

void SharedNotification::stopTimer()
{
    if (timerId) {
        killTimer(timerId);
        timerId = 0;
    }
}

void SharedNotification::activate()
{
    emitOnOwners(&SimpleNotification::activated);
}

void SharedNotification::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timerId || timerId == 0)
        return;
    stopTimer();
    timeout = 0;
    notification->remove();
    emitOnOwners(&SimpleNotification::timeouted);
}

SimpleNotification::SimpleNotification(const QString& eventType, const QString& summary, const QString& body,
                                       const QString& image, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<SimpleNotificationPrivate>(new SharedNotification(eventType, summary, body, image)))
{
    d->shared->owners.insert(this);
}

SimpleNotification::SimpleNotification(const SimpleNotification& other)
    : QObject(nullptr)
    , d(std::make_unique<SimpleNotificationPrivate>(other.d->shared.data()))
{
    d->shared->owners.insert(this);
}

SimpleNotification& SimpleNotification::operator=(const SimpleNotification& other)
{
    if (other.d->shared == d->shared)
        return *this;
    d->shared->owners.remove(this);
    d->shared = other.d->shared; // the old one goes with its last handle
    d->shared->owners.insert(this);
    return *this;
}

SimpleNotification::~SimpleNotification()
{
    if (!d->shared->owners.isEmpty())
        d->shared->owners.remove(this);
}

bool SimpleNotification::operator==(const SimpleNotification& other) const
{
    return d->shared == other.d->shared;
}

SimpleNotification* SimpleNotification::show(const QString& eventType, const QString& summary,
                                             const QString& body, const QString& image)
{
    auto* handle = new SimpleNotification(eventType, summary, body, image);
    connect(handle, &SimpleNotification::activated, handle, &QObject::deleteLater);
    connect(handle, &SimpleNotification::timeouted, handle, &QObject::deleteLater);
    handle->setTimeout(5);
    return handle;
}

void SimpleNotification::update(const QString&, const QString& summary, const QString& body,
                                const QString& image)
{
    MNotification* notification = d->shared->notification;
    notification->setSummary(summary);
    notification->setBody(body);
    notification->setImage(image);
    // A published notification shows the change at once.
    if (notification->isPublished())
        notification->publish();
}

bool SimpleNotification::isValid() const
{
    return d->shared->notification->isPublished();
}

int SimpleNotification::timeout()
{
    return d->shared->timeout;
}

void SimpleNotification::setTimeout(int seconds)
{
    SharedNotification* shared = d->shared.data();
    shared->timeout = seconds;
    shared->stopTimer();
    if (seconds >= 1)
        shared->timerId = shared->startTimer(1000 * seconds);
}

void SimpleNotification::remove()
{
    d->shared->notification->remove();
    d->shared->stopTimer();
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLENOTIFICATION_P_H
#define PAVANE_SIMPLENOTIFICATION_P_H

#include <QDBusAbstractAdaptor>
#include <QExplicitlySharedDataPointer>
#include <QObject>
#include <QSet>
#include <QSharedData>

class MNotification;
class MRemoteAction;

namespace Pavane {

class SimpleNotification;

// The one notification that copied handles share: the toolkit's
// notification, its callback object on the session bus, its timeout and the
// handles that refer to it. Lives while any handle does.
class SharedNotification : public QObject, public QSharedData
{
    Q_OBJECT

public:
    SharedNotification(const QString& eventType, const QString& summary, const QString& body,
                       const QString& image);
    ~SharedNotification() override;

    // Emits @p signal on every handle that shares this object.
    void emitOnOwners(void (SimpleNotification::*signal)());
    void stopTimer();

    QSet<SimpleNotification*> owners;
    MNotification* notification = nullptr;
    MRemoteAction* action = nullptr;
    int timeout = 0;
    int timerId = 0;
    QString path;

public Q_SLOTS:
    void activate();

protected:
    void timerEvent(QTimerEvent* event) override;
};

// The callback object's D-Bus face: a tap calls its activate().
class NotificationCallbackAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.zelkor.SimpleNotificationCallback")

public:
    explicit NotificationCallbackAdaptor(SharedNotification* owner);

public Q_SLOTS:
    void activate();

private:
    SharedNotification* owner;
};

// One handle's hold on the shared notification.
class SimpleNotificationPrivate
{
public:
    explicit SimpleNotificationPrivate(SharedNotification* shared)
        : shared(shared)
    {
    }

    QExplicitlySharedDataPointer<SharedNotification> shared;
};

} // namespace Pavane

#endif

#ifndef PAVANE_SIMPLENOTIFICATION_P_H
#define PAVANE_SIMPLENOTIFICATION_P_H

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QSet>
#include <QSharedData>

class MNotification;
class MRemoteAction;

namespace Pavane {

class SimpleNotification;

// The notification that handles share, and its callback object on the
// session bus.
class SimpleNotificationPrivate : public QObject, public QSharedData
{
    Q_OBJECT

public:
    SimpleNotificationPrivate(const QString& eventType, const QString& summary, const QString& body,
                              const QString& image);
    ~SimpleNotificationPrivate() override;

    // Emits @p signal on every handle that shares this object.
    void emitOnOwners(void (SimpleNotification::*signal)());

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

class SimpleNotificationDBusAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.zelkor.SimpleNotificationCallback")

public:
    explicit SimpleNotificationDBusAdaptor(SimpleNotificationPrivate* owner);

public Q_SLOTS:
    void activate();

private:
    SimpleNotificationPrivate* owner;
};

} // namespace Pavane

#endif

#ifndef PAVANE_DBUSDISPATCHER_P_H
#define PAVANE_DBUSDISPATCHER_P_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <dbus/dbus.h>

namespace Pavane {

class DBusDispatcherPrivate : public QObject
{
    Q_OBJECT

public:
    DBusDispatcherPrivate(const QString& service, const QString& path, const QString& interface,
                          const QString& signalPath, QObject* parent);
    ~DBusDispatcherPrivate() override;

    // A method call to the bound destination with the given arguments, or null
    // (after a warning) when a name is malformed or there is no connection.
    DBusMessage* newMethodCall(const QString& method, const QVariant* const* args, int count) const;

    static void replyHandler(DBusPendingCall* pending, void* context);
    static DBusHandlerResult signalHandler(DBusConnection* connection, DBusMessage* message,
                                           void* self);

    QString service;
    QString path;
    QString interface;
    QString signalPath;
    DBusConnection* connection = nullptr;
    QList<DBusPendingCall*> pendingCalls;
    DBusObjectPathVTable objectVTable = {};

    // The destination as sent, converted and checked once.
    QByteArray serviceName;
    QByteArray objectPath;
    QByteArray interfaceName;
    bool destinationValid = false;

Q_SIGNALS:
    void signalReceived(const QString& interface, const QString& signal, const QList<QVariant>& args);
    void callReply(const QString& method, const QList<QVariant>& args, const QString& error);
};

// What an asynchronous call carries to its reply handler; freed by libdbus
// together with the pending call.
struct PendingCallContext
{
    QString method;
    DBusDispatcherPrivate* dispatcher;
};

} // namespace Pavane

#endif

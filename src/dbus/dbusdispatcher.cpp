// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/dbusdispatcher.h>

#include "dbus/dbusdispatcher_p.h"
#include "dbus/dbusmarshalling_p.h"
#include "dbus/dbusnames_p.h"
#include "dbus/glibmainloop_p.h"
#include "logging/pavanelogging_p.h"

#include <QDebug>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace Pavane {

namespace {

constexpr int ArgumentCount = 8;

} // namespace

DBusDispatcherPrivate::DBusDispatcherPrivate(const QString& service, const QString& path,
                                             const QString& interface, const QString& signalPath,
                                             DBusDispatcher* q)
    : QObject(q)
    , q(q)
    , service(service)
    , path(path)
    , interface(interface)
    , signalPath(signalPath)
    , serviceName(service.toLatin1())
    , objectPath(path.toLatin1())
    , interfaceName(interface.toLatin1())
    , signalObjectPath(signalPath.toLatin1())
{
    // An empty interface means a call without interface field, which the
    // protocol allows; any other malformed name disables calling.
    destinationValid = DBusNames::isValidBusName(serviceName)
        && DBusNames::isValidObjectPath(objectPath)
        && (interfaceName.isEmpty() || DBusNames::isValidInterface(interfaceName));
    signalPathValid = DBusNames::isValidObjectPath(signalObjectPath);
    objectVTable.message_function = &DBusDispatcherPrivate::signalHandler;
}

DBusDispatcherPrivate::~DBusDispatcherPrivate()
{
    closeConnection(false);
}

void DBusDispatcherPrivate::openConnection()
{
    connection = dbus_bus_get_private(DBUS_BUS_SYSTEM, nullptr);
    if (!connection) {
        if (!unreachableReported)
            qCDebug(lcDBus, "Unable to get DBUS connection!");
        unreachableReported = true;
        return;
    }
    unreachableReported = false;
    lossReported = false;
    // Losing the bus must not end the host process.
    dbus_connection_set_exit_on_disconnect(connection, false);
    dbus_connection_add_filter(connection, &DBusDispatcherPrivate::disconnectFilter, this, nullptr);
    attachToDefaultMainContext(connection);

    if (signalPathValid) {
        dbus_connection_register_object_path(connection, signalObjectPath.constData(), &objectVTable,
                                             this);
    } else if (!signalPathWarned) {
        qCWarning(lcDBus, "DBusDispatcher: invalid signal path \"%s\"; no signals will be received",
                  signalObjectPath.constData());
        signalPathWarned = true;
    }
}

void DBusDispatcherPrivate::closeConnection(bool lost)
{
    if (!connection)
        return;
    // What arrived before the loss still goes out. The handlers only queue
    // signals for the event loop, so no host code runs in here.
    while (lost && dbus_connection_get_dispatch_status(connection) == DBUS_DISPATCH_DATA_REMAINS)
        dbus_connection_dispatch(connection);
    dropPendingCalls(lost);
    dbus_connection_remove_filter(connection, &DBusDispatcherPrivate::disconnectFilter, this);
    if (signalPathValid)
        dbus_connection_unregister_object_path(connection, signalObjectPath.constData());
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
    connection = nullptr;
}

bool DBusDispatcherPrivate::ensureConnected()
{
    if (connection && dbus_connection_get_is_connected(connection))
        return true;
    if (connection) {
        reportLoss();
        closeConnection(true);
    }
    openConnection();
    return connection;
}

void DBusDispatcherPrivate::reportLoss()
{
    if (!lossReported) {
        qCWarning(lcDBus, "DBusDispatcher: the connection to the system bus was lost; "
                  "it is opened again on the next call");
    }
    lossReported = true;
}

void DBusDispatcherPrivate::dropPendingCalls(bool answer)
{
    // A cancelled call gets no reply handler call.
    const QList<PendingCall> dropped = std::exchange(pendingCalls, {});
    for (const PendingCall& call : dropped) {
        dbus_pending_call_cancel(call.pending);
        dbus_pending_call_unref(call.pending);
        if (answer)
            queueDelivery({Delivery::Reply, call.method, QStringLiteral(DBUS_ERROR_DISCONNECTED), {}});
    }
}

void DBusDispatcherPrivate::queueDelivery(Delivery delivery)
{
    delivery.serial = ++deliverySerial;
    deliveries.push_back(std::move(delivery));
    if (!deliveryPosted)
        postDelivery();
}

void DBusDispatcherPrivate::postDelivery()
{
    deliveryPosted = true;
    // Dropped with this object, and so with the dispatcher.
    QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
}

void DBusDispatcherPrivate::deliver()
{
    deliveryPosted = false;
    // What a receiver's own dispatching reads from here on waits for a later
    // event, as it would have had each its own.
    const quint64 last = deliverySerial;
    const QPointer<DBusDispatcherPrivate> alive(this);
    while (!deliveries.empty() && deliveries.front().serial <= last) {
        const Delivery next = std::move(deliveries.front());
        deliveries.pop_front();
        // A receiver that runs an event loop of its own gets the rest there.
        if (!deliveries.empty() && !deliveryPosted)
            postDelivery();
        if (next.kind == Delivery::Reply)
            Q_EMIT q->callReply(next.name, next.args, next.detail);
        else
            Q_EMIT q->signalReceived(next.name, next.detail, next.args);
        if (!alive)
            return;
    }
}

DBusMessage* DBusDispatcherPrivate::newMethodCall(const QString& method,
                                                  const QVariant* const* args, int count)
{
    if (!ensureConnected())
        return nullptr;
    const QByteArray member = method.toLatin1();
    if (!destinationValid || !DBusNames::isValidMember(member)) {
        qCWarning(lcDBus, "DBusDispatcher: invalid D-Bus name in call of \"%s\" on service \"%s\", "
                  "path \"%s\", interface \"%s\"; nothing sent",
                  member.constData(), serviceName.constData(), objectPath.constData(),
                  interfaceName.constData());
        return nullptr;
    }
    return Pavane::newMethodCall(serviceName.constData(), objectPath.constData(),
                                 interfaceName.isEmpty() ? nullptr : interfaceName.constData(),
                                 member.constData(), args, count);
}

void DBusDispatcherPrivate::replyHandler(DBusPendingCall* pending, void* self)
{
    auto* d = static_cast<DBusDispatcherPrivate*>(self);
    const auto call = std::find_if(d->pendingCalls.begin(), d->pendingCalls.end(),
                                   [pending](const PendingCall& c) { return c.pending == pending; });
    if (call == d->pendingCalls.end())
        return;
    const QString method = call->method;
    d->pendingCalls.erase(call);

    DBusMessage* reply = dbus_pending_call_steal_reply(pending);
    QList<QVariant> args;
    QString error;
    if (reply && dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR)
        error = QString::fromLatin1(dbus_message_get_error_name(reply));
    else if (reply)
        args = readArguments(reply);
    d->queueDelivery({Delivery::Reply, method, error, args});

    if (reply)
        dbus_message_unref(reply);
    dbus_pending_call_unref(pending);
}

DBusHandlerResult DBusDispatcherPrivate::signalHandler(DBusConnection*, DBusMessage* message,
                                                       void* self)
{
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_SIGNAL)
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;

    static_cast<DBusDispatcherPrivate*>(self)->queueDelivery(
        {Delivery::Signal, QString::fromLatin1(dbus_message_get_interface(message)),
         QString::fromLatin1(dbus_message_get_member(message)), readArguments(message)});
    return DBUS_HANDLER_RESULT_HANDLED;
}

DBusHandlerResult DBusDispatcherPrivate::disconnectFilter(DBusConnection*, DBusMessage* message,
                                                          void* self)
{
    if (dbus_message_is_signal(message, DBUS_INTERFACE_LOCAL, "Disconnected")) {
        auto* d = static_cast<DBusDispatcherPrivate*>(self);
        d->reportLoss();
        // libdbus leaves the calls in flight unanswered.
        d->dropPendingCalls(true);
    }
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

DBusDispatcher::DBusDispatcher(const QString& service, const QString& path,
                               const QString& interface, QObject* parent)
    : DBusDispatcher(service, path, interface, path, parent)
{
}

DBusDispatcher::DBusDispatcher(const QString& service, const QString& path,
                               const QString& interface, const QString& signalPath,
                               QObject* parent)
    : QObject(parent)
    , d(std::make_unique<DBusDispatcherPrivate>(service, path, interface, signalPath, this))
{
    setupDBus();
}

// The private object closes the connection; replies and signals still queued
// for this object go with it.
DBusDispatcher::~DBusDispatcher() = default;

void DBusDispatcher::setupDBus()
{
    d->openConnection();
}

QList<QVariant> DBusDispatcher::call(const QString& method, const QVariant& arg1,
                                     const QVariant& arg2, const QVariant& arg3,
                                     const QVariant& arg4, const QVariant& arg5,
                                     const QVariant& arg6, const QVariant& arg7,
                                     const QVariant& arg8)
{
    const QVariant* args[ArgumentCount] = {&arg1, &arg2, &arg3, &arg4, &arg5, &arg6, &arg7, &arg8};
    DBusMessage* message = d->newMethodCall(method, args, ArgumentCount);
    if (!message)
        return {};
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(d->connection, message, -1,
                                                                   nullptr);
    dbus_message_unref(message);
    if (!reply)
        return {};
    QList<QVariant> result = readArguments(reply);
    dbus_message_unref(reply);
    return result;
}

bool DBusDispatcher::callAsynchronous(const QString& method, const QVariant& arg1,
                                      const QVariant& arg2, const QVariant& arg3,
                                      const QVariant& arg4, const QVariant& arg5,
                                      const QVariant& arg6, const QVariant& arg7,
                                      const QVariant& arg8)
{
    const QVariant* args[ArgumentCount] = {&arg1, &arg2, &arg3, &arg4, &arg5, &arg6, &arg7, &arg8};
    DBusMessage* message = d->newMethodCall(method, args, ArgumentCount);
    if (!message)
        return false;
    DBusPendingCall* pending = nullptr;
    const bool sent = dbus_connection_send_with_reply(d->connection, message, &pending, -1);
    dbus_message_unref(message);
    // Without a pending call (no memory, connection gone) nothing will come back.
    if (!sent || !pending)
        return false;

    // Listed before the handler is installed: libdbus runs the handler at once
    // for a call that has already completed, and the handler unlists it.
    d->pendingCalls.append({pending, method});
    dbus_pending_call_set_notify(pending, &DBusDispatcherPrivate::replyHandler, d.get(), nullptr);
    return true;
}

bool DBusDispatcher::synchronousDispatch(int timeout)
{
    if (!d->connection)
        return false;
    return dbus_connection_read_write_dispatch(d->connection, timeout);
}

void DBusDispatcher::emitCallReply(const QString& method, const QList<QVariant>& args,
                                   const QString& error)
{
    qCWarning(lcDBus, "DBusDispatcher::emitCallReply() is DEPRECATED, don't use!");
    Q_EMIT callReply(method, args, error);
}

void DBusDispatcher::emitSignalReceived(const QString& interface, const QString& signal,
                                        const QList<QVariant>& args)
{
    qCWarning(lcDBus, "DBusDispatcher::emitSignalReceived() is DEPRECATED, don't use!");
    Q_EMIT signalReceived(interface, signal, args);
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DBUSDISPATCHER_P_H
#define PAVANE_DBUSDISPATCHER_P_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <dbus/dbus.h>

#include <deque>

namespace Pavane {

class DBusDispatcher;

// A QObject for the event loop: the libdbus callbacks queue what they read,
// and the dispatcher's signals are emitted from the event loop, never from
// inside libdbus.
class DBusDispatcherPrivate : public QObject
{
    Q_OBJECT

public:
    // A child of the dispatcher, in its object tree and thread; d deletes it
    // before QObject's clean-up would.
    DBusDispatcherPrivate(const QString& service, const QString& path, const QString& interface,
                          const QString& signalPath, DBusDispatcher* q);
    ~DBusDispatcherPrivate() override;

    // A method call to the bound destination with the given arguments, or null
    // (after a warning) when a name is malformed or there is no connection.
    DBusMessage* newMethodCall(const QString& method, const QVariant* const* args, int count);

    // Makes sure there is a live connection, opening a new one when there is
    // none or when the bus has dropped the one there was.
    bool ensureConnected();
    void openConnection();
    // Closes and releases the connection. When it was @p lost, what it still
    // holds is dispatched first and the calls in flight are answered with the
    // error DBUS_ERROR_DISCONNECTED; otherwise they are cancelled quietly.
    void closeConnection(bool lost);
    void dropPendingCalls(bool answer);
    void reportLoss();

    // A reply or a signal read from the bus, to be emitted from the event
    // loop, in the order read.
    struct Delivery
    {
        enum Kind { Reply, Signal } kind;
        QString name; // the method, or the signal's interface
        QString detail; // the error, or the signal's name
        QList<QVariant> args;
        quint64 serial = 0;
    };
    void queueDelivery(Delivery delivery);
    void postDelivery();
    void deliver();

    static void replyHandler(DBusPendingCall* pending, void* self);
    static DBusHandlerResult signalHandler(DBusConnection* connection, DBusMessage* message,
                                           void* self);
    static DBusHandlerResult disconnectFilter(DBusConnection* connection, DBusMessage* message,
                                              void* self);

    DBusDispatcher* const q;
    QString service;
    QString path;
    QString interface;
    QString signalPath;
    DBusConnection* connection = nullptr;
    // Asynchronous calls whose reply has not been handled, in order of sending.
    struct PendingCall
    {
        DBusPendingCall* pending;
        QString method;
    };
    QList<PendingCall> pendingCalls;
    DBusObjectPathVTable objectVTable = {};

    // The destination as sent, converted and checked once.
    QByteArray serviceName;
    QByteArray objectPath;
    QByteArray interfaceName;
    bool destinationValid = false;
    QByteArray signalObjectPath;
    bool signalPathValid = false;
    bool signalPathWarned = false;

    // Each loss of the bus, and each time it cannot be reached, is told once.
    bool lossReported = false;
    bool unreachableReported = false;

    // Whatever is read before the event loop comes round goes out on one
    // event, not on one event (and one wake-up of the loop) each.
    std::deque<Delivery> deliveries;
    quint64 deliverySerial = 0;
    bool deliveryPosted = false;
};

} // namespace Pavane

#endif

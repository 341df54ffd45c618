// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DBUSDISPATCHER_H
#define PAVANE_DBUSDISPATCHER_H

#include <Pavane/pavanedlg_export.h>

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

namespace Pavane {

class DBusDispatcherPrivate;

/**
 * A generic client for one service on the D-Bus system bus.
 *
 * Bound at construction to a service name, object path and interface, it
 * calls any method of that interface with up to eight variant arguments,
 * either blocking (call()) or asynchronously (callAsynchronous(), answered by
 * callReply()). It also hands on, as signalReceived(), every D-Bus signal that
 * is delivered to its own connection on one object path.
 *
 * Arguments and replies are plain variants: bool, int, uint, qlonglong,
 * qulonglong, QChar (a byte), QString, QStringList, QByteArray and lists of
 * these. Values of other types are left out of the message, and so are values
 * beyond the protocol's limits: nested too deep, or with an array or a whole
 * message too long.
 *
 * When the bus drops the connection (or restarts, or was not there), the
 * dispatcher says so once, answers the calls in flight with callReply() and
 * the error "org.freedesktop.DBus.Error.Disconnected", and connects afresh on
 * the next call() or callAsynchronous(), listening on its signal path again.
 *
 * Replies and signals are always emitted later, from the event loop, never
 * from inside a call of this class: a receiver may delete the dispatcher.
 * Replies and signals still queued when it is destroyed are dropped.
 * Failures are reported by return values and the log category
 * @c pavane.dbus, never by aborting the host.
 *
 * The connection is a private one, driven by the default GLib main context,
 * so the host's Qt event loop must run on GLib (Qt's default on Linux).
 * GUI thread only: create, use and destroy it on the thread whose event loop
 * iterates that context.
 */
class PAVANEDLG_EXPORT DBusDispatcher : public QObject
{
    Q_OBJECT

public:
    /**
     * Connects to the system bus for calls of @p interface on the object
     * @p path of @p service, and takes signals on the same @p path.
     *
     * The connection is opened at once; if the bus is not there, the next
     * call tries again. With a malformed service name, path or interface
     * every call is refused (with a warning); an empty @p interface sends
     * calls without one.
     */
    DBusDispatcher(const QString& service, const QString& path, const QString& interface,
                   QObject* parent = nullptr);
    /**
     * As the constructor above, but signals are taken on @p signalPath
     * instead of @p path. A malformed @p signalPath leaves calls working and
     * receives no signals.
     */
    DBusDispatcher(const QString& service, const QString& path, const QString& interface,
                   const QString& signalPath, QObject* parent = nullptr);
    /** Closes the connection; calls in flight are dropped unanswered. */
    ~DBusDispatcher() override;

    /**
     * Calls @p method with the arguments @p arg1 to @p arg8 and blocks until
     * its reply (or libdbus's default time-out of 25 seconds). Invalid
     * variants among the arguments are skipped.
     *
     * Returns the reply's arguments, or an empty list on any failure: no
     * bus, a malformed name, an error reply or the time-out (which an empty
     * reply cannot be told apart from; use callAsynchronous() to see the
     * error). Nothing of this object is emitted while it blocks.
     */
    QList<QVariant> call(const QString& method,
                         const QVariant& arg1 = QVariant(), const QVariant& arg2 = QVariant(),
                         const QVariant& arg3 = QVariant(), const QVariant& arg4 = QVariant(),
                         const QVariant& arg5 = QVariant(), const QVariant& arg6 = QVariant(),
                         const QVariant& arg7 = QVariant(), const QVariant& arg8 = QVariant());

    /**
     * Sends a call of @p method with the arguments @p arg1 to @p arg8
     * without waiting. Invalid variants among the arguments are skipped.
     *
     * Returns whether the message was queued for sending; only then does its
     * outcome arrive, later, as callReply() for @p method: the reply, an
     * error reply, the time-out, or the connection's loss.
     */
    bool callAsynchronous(const QString& method,
                          const QVariant& arg1 = QVariant(), const QVariant& arg2 = QVariant(),
                          const QVariant& arg3 = QVariant(), const QVariant& arg4 = QVariant(),
                          const QVariant& arg5 = QVariant(), const QVariant& arg6 = QVariant(),
                          const QVariant& arg7 = QVariant(), const QVariant& arg8 = QVariant());

    /**
     * Reads, writes and dispatches once on the connection, waiting at most
     * @p timeout milliseconds (-1: without limit). Signals that this causes are
     * emitted later, from the event loop. Returns false once the connection is
     * gone (or was never there).
     */
    bool synchronousDispatch(int timeout);

#ifndef PAVANEDLG_NO_DEPRECATED
    /**
     * Prints a warning and emits callReply() with @p method, @p args and
     * @p error at once, from inside this call.
     *
     * @deprecated Replies come from callAsynchronous() alone. To hand a
     * receiver a reply without the bus, call the receiving slot directly.
     */
    PAVANEDLG_DEPRECATED void emitCallReply(const QString& method, const QList<QVariant>& args,
                                            const QString& error);
    /**
     * Prints a warning and emits signalReceived() with @p interface,
     * @p signal and @p args at once, from inside this call.
     *
     * @deprecated Signals come from the bus alone. To hand a receiver a
     * signal without the bus, call the receiving slot directly; to test with
     * real signals, emit them on the bus to the signal path.
     */
    PAVANEDLG_DEPRECATED void emitSignalReceived(const QString& interface, const QString& signal,
                                                 const QList<QVariant>& args);
#endif

Q_SIGNALS:
    /**
     * A D-Bus signal reached the signal path.
     *
     * It carries the signal's @p interface, its name @p signal and its
     * arguments @p args (as for callReply(), values of unsupported types are
     * left out).
     *
     * Only signals that the bus routes to this connection arrive, that is
     * those addressed to it: the dispatcher subscribes to no broadcast.
     * Emitted from the event loop.
     */
    void signalReceived(const QString& interface, const QString& signal, const QList<QVariant>& args);
    /**
     * The outcome of a callAsynchronous() of @p method.
     *
     * It carries the reply's arguments @p args and a null @p error, or an
     * empty list and the D-Bus error name, such as
     * "org.freedesktop.DBus.Error.NoReply" for the time-out or
     * "org.freedesktop.DBus.Error.Disconnected" when the bus went away.
     *
     * Emitted once per call that callAsynchronous() queued, from the event
     * loop, in the order the replies arrive.
     */
    void callReply(const QString& method, const QList<QVariant>& args, const QString& error);

private:
    void setupDBus();

    std::unique_ptr<DBusDispatcherPrivate> const d;
};

} // namespace Pavane

#endif

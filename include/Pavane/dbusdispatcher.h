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
 * The connection is a private one, driven by the default GLib main context,
 * so the host's Qt event loop must run on GLib (Qt's default on Linux).
 * GUI thread only: create, use and destroy it on the thread whose event loop
 * iterates that context.
 */
class PAVANEDLG_EXPORT DBusDispatcher : public QObject
{
    Q_OBJECT

public:
    /** Signals are taken on @p path, the same path that method calls go to. */
    DBusDispatcher(const QString& service, const QString& path, const QString& interface,
                   QObject* parent = nullptr);
    /** Signals are taken on @p signalPath instead of @p path. */
    DBusDispatcher(const QString& service, const QString& path, const QString& interface,
                   const QString& signalPath, QObject* parent = nullptr);
    ~DBusDispatcher() override;

    /**
     * Calls @p method and blocks until its reply (or libdbus's default
     * time-out). Invalid variants among the arguments are skipped.
     * Returns the reply's arguments, or an empty list on any failure.
     */
    QList<QVariant> call(const QString& method,
                         const QVariant& arg1 = QVariant(), const QVariant& arg2 = QVariant(),
                         const QVariant& arg3 = QVariant(), const QVariant& arg4 = QVariant(),
                         const QVariant& arg5 = QVariant(), const QVariant& arg6 = QVariant(),
                         const QVariant& arg7 = QVariant(), const QVariant& arg8 = QVariant());

    /**
     * Sends a call of @p method without waiting. Returns whether the message
     * was queued for sending; the outcome arrives later as callReply().
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

    /** Deprecated: prints a warning and emits callReply() at once. */
    void emitCallReply(const QString& method, const QList<QVariant>& args, const QString& error);
    /** Deprecated: prints a warning and emits signalReceived() at once. */
    void emitSignalReceived(const QString& interface, const QString& signal,
                            const QList<QVariant>& args);

Q_SIGNALS:
    /** A D-Bus signal reached the signal path. */
    void signalReceived(const QString& interface, const QString& signal, const QList<QVariant>& args);
    /**
     * The reply to callAsynchronous(): its arguments and a null @p error, or
     * an empty list and the D-Bus error name.
     */
    void callReply(const QString& method, const QList<QVariant>& args, const QString& error);

private:
    void setupDBus();

    std::unique_ptr<DBusDispatcherPrivate> const d;
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLENOTIFICATION_H
#define PAVANE_SIMPLENOTIFICATION_H

#include <Pavane/pavanedlg_export.h>

#include <QObject>

#include <memory>

namespace Pavane {

class SimpleNotificationPrivate;

/**
 * One notification in the notification area, and word of the user tapping
 * it.
 *
 * The constructor publishes the notification through the notification
 * service on the session bus, with a summary, a body, an image shown as its
 * icon and an event type sent as its category, and blocks while the service
 * answers. Handles are copyable and share one notification (copying never
 * duplicates it): it stays published until a handle calls remove(), its
 * timeout elapses, the service closes it or the last handle goes. Every
 * sharing handle emits activated() when the user taps it and timeouted()
 * when its timeout withdraws it; a receiver may delete any handle, the
 * emitting one included.
 *
 * The tap arrives as a D-Bus call of "activate" (interface
 * "com.zelkor.SimpleNotificationCallback") on a callback object that each
 * notification exports on the session bus, at
 * "/com/zelkor/SimpleNotification/" followed by 32 hexadecimal digits, for
 * as long as any of its handles lives. Nothing reports a missing bus or
 * service: the handle is made all the same, isValid() is false without a
 * service, and taps never arrive without a bus. GUI thread only: taps and
 * timeouts arrive through its event loop.
 *
 * @code
 * auto* note = Pavane::SimpleNotification::show(QStringLiteral("transfer.complete"),
 *                                               tr("File received"), fileName,
 *                                               QStringLiteral("icon-m-content-file-unknown-inverse"));
 * connect(note, &Pavane::SimpleNotification::activated, this, &Receiver::openInbox);
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleNotification : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool valid READ isValid)
    Q_PROPERTY(int timeout READ timeout WRITE setTimeout)

public:
    /**
     * Publishes a notification of the kind @p eventType with @p summary,
     * @p body and the icon @p image, and makes the first handle on it, a
     * child of @p parent.
     */
    SimpleNotification(const QString& eventType, const QString& summary, const QString& body,
                       const QString& image, QObject* parent = nullptr);
    /** Makes another handle on @p other's notification; it takes no parent, whatever @p other has. */
    SimpleNotification(const SimpleNotification& other);
    /**
     * Makes this handle share @p other's notification. The notification it
     * held before is withdrawn if this was its last handle.
     *
     * @return this handle.
     */
    SimpleNotification& operator=(const SimpleNotification& other);
    /**
     * Drops this handle. The last handle of a notification withdraws it and
     * takes its callback object off the bus.
     */
    ~SimpleNotification() override;

    /**
     * True when this handle and @p other share one notification; two
     * notifications made from equal texts are not equal.
     */
    bool operator==(const SimpleNotification& other) const;

    /**
     * Publishes a notification whose handle deletes itself, on a later pass
     * of the event loop, after the first tap or after 5 seconds, withdrawing
     * it.
     *
     * @return the handle, for connecting to activated() and timeouted(); the
     * caller need not delete it.
     */
    static SimpleNotification* show(const QString& eventType, const QString& summary, const QString& body,
                                    const QString& image);

    /**
     * Changes the summary, body and icon to @p summary, @p body and @p image;
     * @p eventType is ignored and the kind stays. A published notification
     * shows the change at once; a withdrawn one is not published again.
     */
    void update(const QString& eventType, const QString& summary, const QString& body, const QString& image);
    /**
     * Whether the notification is published now: false once it was removed,
     * timed out or closed by the service, and when no service took it.
     */
    bool isValid() const;
    /**
     * The timeout last set, in seconds; it does not count down. 0 at first
     * and once the timeout has elapsed; a value of 0 or less set by
     * setTimeout() is returned as set.
     */
    int timeout();
    /**
     * Withdraws the notification @p seconds from now, once, and then emits
     * timeouted() on every handle. Replaces a timeout that runs; 0 or less
     * only stops it.
     */
    void setTimeout(int seconds);

public Q_SLOTS:
    /**
     * Withdraws the notification now, for every handle, and stops its
     * timeout without timeouted(). The handles and the callback object
     * stay; nothing publishes the notification again.
     */
    void remove();

Q_SIGNALS:
    /**
     * Emitted on every handle of the notification when the user taps it,
     * also after remove() or the timeout should a tap still arrive. A
     * receiver may delete any handle, this one included.
     */
    void activated();
    /**
     * Emitted on every handle when the timeout set by setTimeout() has
     * elapsed and withdrawn the notification. A receiver may delete any
     * handle, this one included.
     */
    void timeouted();

private:
    std::unique_ptr<SimpleNotificationPrivate> const d;
};

} // namespace Pavane

#endif

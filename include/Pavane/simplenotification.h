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
 * Handles are copyable and share one notification (copying never duplicates
 * it): it stays published while any handle refers to it, is withdrawn when
 * the last one goes, and every sharing handle emits activated() when the
 * user taps it and timeouted() when its timeout withdraws it. The tap
 * arrives as a D-Bus call of "activate" on a callback object that each
 * notification exports on the session bus. GUI thread only.
 */
class PAVANEDLG_EXPORT SimpleNotification : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool valid READ isValid)
    Q_PROPERTY(int timeout READ timeout WRITE setTimeout)

public:
    SimpleNotification(const QString& eventType, const QString& summary, const QString& body,
                       const QString& image, QObject* parent = nullptr);
    /** Shares @p other's notification; takes no parent. */
    SimpleNotification(const SimpleNotification& other);
    SimpleNotification& operator=(const SimpleNotification& other);
    ~SimpleNotification() override;

    /** True when both handles share one notification. */
    bool operator==(const SimpleNotification& other) const;

    /**
     * Publishes a notification whose handle deletes itself after the first
     * tap or after 5 seconds, withdrawing it. The handle is only for
     * connecting to.
     */
    static SimpleNotification* show(const QString& eventType, const QString& summary, const QString& body,
                                    const QString& image);

    /** Changes summary, body and image; the event type stays. */
    void update(const QString& eventType, const QString& summary, const QString& body, const QString& image);
    /** Whether the notification is published. */
    bool isValid() const;
    /** Seconds until it is withdrawn; 0 when no timeout runs any more. */
    int timeout();
    /** Withdraws it after @p seconds (once); 0 or less stops the timer. */
    void setTimeout(int seconds);

public Q_SLOTS:
    void remove();

Q_SIGNALS:
    void activated();
    void timeouted();

private:
    std::unique_ptr<SimpleNotificationPrivate> const d;
};

} // namespace Pavane

#endif

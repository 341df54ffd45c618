#ifndef PAVANE_CONNECTIVITYDIALOGREQUEST_H
#define PAVANE_CONNECTIVITYDIALOGREQUEST_H

#include <Pavane/pavanedlg_export.h>

#include <QList>
#include <memory>
#include <QObject>
#include <QString>
#include <QVariant>

namespace Pavane {

class ConnectivityDialogRequestPrivate;

/**
 * One request for a connectivity dialog and, once the dialog is done, its
 * answer.
 *
 * Its owner builds it from a received request (method, arguments, sender),
 * hands it to the dialog code, and reads the answer (responseSignal() and
 * returnArguments()) on completed(), or the reason on canceled(). The state and
 * the answer are stored before either signal is emitted. It does no messaging
 * itself. Use it on the thread that owns it.
 */
class PAVANEDLG_EXPORT ConnectivityDialogRequest : public QObject
{
    Q_OBJECT

public:
    enum State {
        Initial = 0,
        /** Free for the owner's use; the class never sets it. */
        InProgress = 1,
        Canceled = 2,
        Completed = 3
    };
    Q_ENUM(State)

    ConnectivityDialogRequest(const QString& method, const QList<QVariant>& arguments,
                              const QString& sender, QObject* parent = nullptr);
    ~ConnectivityDialogRequest() override;

    QString method() const;
    QList<QVariant> arguments() const;
    QString sender() const;
    /** The name of the signal with which to answer; empty until completed. */
    QString responseSignal() const;
    /** The answer's arguments; empty until completed. */
    QList<QVariant> returnArguments() const;

    State state() const;
    /** Stores @p state as it is, and emits nothing. */
    void setState(State state);

    /** Stores the answer, sets the state to Completed and emits completed(). */
    void complete(const QString& responseSignal, const QList<QVariant>& returnArguments);
    /** Sets the state to Canceled and emits canceled(); the answer is kept. */
    void cancel(const QString& reason);

Q_SIGNALS:
    void completed();
    void canceled(const QString& reason);

private:
    std::unique_ptr<ConnectivityDialogRequestPrivate> const d;
};

} // namespace Pavane

#endif

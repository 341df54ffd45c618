// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
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
    /** Where the request stands. */
    enum State {
        Initial = 0,    ///< Built and not yet answered.
        /** Free for the owner's use; the class never sets it. */
        InProgress = 1,
        Canceled = 2,   ///< cancel() was called.
        Completed = 3   ///< complete() was called; the answer is stored.
    };
    Q_ENUM(State)

    /**
     * A request in the state Initial: the requested @p method, its
     * @p arguments and the @p sender's bus name, kept as they are given.
     */
    ConnectivityDialogRequest(const QString& method, const QList<QVariant>& arguments,
                              const QString& sender, QObject* parent = nullptr);
    /** Emits nothing, whatever the state. */
    ~ConnectivityDialogRequest() override;

    /** The requested method, as given to the constructor. */
    QString method() const;
    /** The request's arguments, as given to the constructor. */
    QList<QVariant> arguments() const;
    /** The bus name of the requester, to which the answer goes. */
    QString sender() const;
    /** The name of the signal with which to answer; empty until completed. */
    QString responseSignal() const;
    /** The answer's arguments; empty until completed. */
    QList<QVariant> returnArguments() const;

    /** The state last stored by setState(), complete() or cancel(). */
    State state() const;
    /** Stores @p state as it is, and emits nothing. */
    void setState(State state);

    /**
     * Stores the answer (@p responseSignal and @p returnArguments), sets the
     * state to Completed and emits completed(). Each call does so again, also
     * after cancel().
     */
    void complete(const QString& responseSignal, const QList<QVariant>& returnArguments);
    /**
     * Sets the state to Canceled and emits canceled() with @p reason, which
     * is not stored; an answer stored before is kept.
     */
    void cancel(const QString& reason);

Q_SIGNALS:
    /**
     * complete() was called; state(), responseSignal() and returnArguments()
     * already hold the answer. A receiver may delete the request.
     */
    void completed();
    /**
     * cancel() was called with @p reason; state() is already Canceled. A
     * receiver may delete the request.
     */
    void canceled(const QString& reason);

private:
    std::unique_ptr<ConnectivityDialogRequestPrivate> const d;
};

} // namespace Pavane

#endif

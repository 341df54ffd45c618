// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/connectivitydialogrequest.h>

namespace Pavane {

class ConnectivityDialogRequestPrivate
{
public:
    QString method;
    QList<QVariant> arguments;
    QString sender;
    QString responseSignal;
    QList<QVariant> returnArguments;
    ConnectivityDialogRequest::State state = ConnectivityDialogRequest::Initial;
};

ConnectivityDialogRequest::ConnectivityDialogRequest(const QString& method,
                                                     const QList<QVariant>& arguments,
                                                     const QString& sender, QObject* parent)
    : QObject(parent)
    , d(new ConnectivityDialogRequestPrivate{method, arguments, sender, {}, {}, Initial})
{
}

ConnectivityDialogRequest::~ConnectivityDialogRequest() = default;

QString ConnectivityDialogRequest::method() const { return d->method; }
QList<QVariant> ConnectivityDialogRequest::arguments() const { return d->arguments; }
QString ConnectivityDialogRequest::sender() const { return d->sender; }
QString ConnectivityDialogRequest::responseSignal() const { return d->responseSignal; }
QList<QVariant> ConnectivityDialogRequest::returnArguments() const { return d->returnArguments; }
ConnectivityDialogRequest::State ConnectivityDialogRequest::state() const { return d->state; }

void ConnectivityDialogRequest::setState(State state)
{
    d->state = state;
}

void ConnectivityDialogRequest::complete(const QString& responseSignal,
                                         const QList<QVariant>& returnArguments)
{
    // Stored before the signal, so that its slots read the final answer.
    d->responseSignal = responseSignal;
    d->returnArguments = returnArguments;
    d->state = Completed;
    Q_EMIT completed();
}

void ConnectivityDialogRequest::cancel(const QString& reason)
{
    d->state = Canceled;
    Q_EMIT canceled(reason);
}

} // namespace Pavane

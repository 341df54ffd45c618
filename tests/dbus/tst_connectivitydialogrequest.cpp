// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/ConnectivityDialogRequest>

#include <QSignalSpy>
#include <QtTest>

using Pavane::ConnectivityDialogRequest;

class TestConnectivityDialogRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("deleteIt");
        QTest::newRow("completed") << true << false;
        QTest::newRow("canceled") << false << false;
        QTest::newRow("completed, the receiver deletes it") << true << true;
        QTest::newRow("canceled, the receiver deletes it") << false << true;
    }

    // Listeners read the answer from inside the signal, so it is in place
    // before the signal goes out. A receiver may delete the request there;
    // receivers after it are then not called.
    void answers()
    {
        QFETCH(bool, complete);
        QFETCH(bool, deleteIt);
        QPointer<ConnectivityDialogRequest> request(
            new ConnectivityDialogRequest(QStringLiteral("m"), {1}, QStringLiteral("s")));
        QStringList seen;
        const auto look = [&](const QString& reason) {
            seen << reason << QString::number(request->state()) << request->responseSignal();
            for (const QVariant& value : request->returnArguments())
                seen << value.toString();
            if (deleteIt)
                delete request.data();
        };
        connect(request.data(), &ConnectivityDialogRequest::completed, this, [&] { look(QString()); });
        connect(request.data(), &ConnectivityDialogRequest::canceled, this, look);
        connect(request.data(), &ConnectivityDialogRequest::completed, this, [&] { seen << "later"; });
        connect(request.data(), &ConnectivityDialogRequest::canceled, this, [&] { seen << "later"; });
        if (complete)
            request->complete(QStringLiteral("dialog_done"), {1, QStringLiteral("chosen")});
        else
            request->cancel(QStringLiteral("user pressed back"));
        QStringList expected{complete ? "" : "user pressed back",
                             QString::number(complete ? ConnectivityDialogRequest::Completed
                                                      : ConnectivityDialogRequest::Canceled)};
        expected << (complete ? QStringList{"dialog_done", "1", "chosen"} : QStringList{""});
        if (!deleteIt)
            expected << "later";
        QCOMPARE(seen, expected);
        QCOMPARE(request.isNull(), deleteIt);
        delete request.data();
    }
};

QTEST_GUILESS_MAIN(TestConnectivityDialogRequest)
#include "tst_connectivitydialogrequest.moc"

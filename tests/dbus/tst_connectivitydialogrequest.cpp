#include <Pavane/ConnectivityDialogRequest>

#include <QSignalSpy>
#include <QtTest>

using Pavane::ConnectivityDialogRequest;

class TestConnectivityDialogRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Listeners read the answer from inside completed(), so it must be in
    // place before the signal goes out.
    void completeStoresTheAnswerBeforeSignalling()
    {
        ConnectivityDialogRequest request(QStringLiteral("m"), {}, QStringLiteral("s"));
        QList<QVariant> seen;
        QString seenSignal;
        ConnectivityDialogRequest::State seenState = ConnectivityDialogRequest::Initial;
        connect(&request, &ConnectivityDialogRequest::completed, this, [&] {
            seen = request.returnArguments();
            seenSignal = request.responseSignal();
            seenState = request.state();
        });
        QSignalSpy completed(&request, SIGNAL(completed()));
        QSignalSpy canceled(&request, SIGNAL(canceled(QString)));

        const QList<QVariant> answer{1, QStringLiteral("chosen")};
        request.complete(QStringLiteral("dialog_done"), answer);
        QCOMPARE(completed.count(), 1);
        QCOMPARE(canceled.count(), 0);
        QCOMPARE(seenState, ConnectivityDialogRequest::Completed);
        QCOMPARE(seenSignal, QStringLiteral("dialog_done"));
        QCOMPARE(seen, answer);
    }

    void cancelSignalsTheReason()
    {
        ConnectivityDialogRequest request(QStringLiteral("m"), {}, QStringLiteral("s"));
        QSignalSpy canceled(&request, SIGNAL(canceled(QString)));
        ConnectivityDialogRequest::State seenState = ConnectivityDialogRequest::Initial;
        connect(&request, &ConnectivityDialogRequest::canceled, this, [&] { seenState = request.state(); });

        request.cancel(QStringLiteral("user pressed back"));
        QCOMPARE(canceled.count(), 1);
        QCOMPARE(canceled.at(0).at(0).toString(), QStringLiteral("user pressed back"));
        QCOMPARE(seenState, ConnectivityDialogRequest::Canceled);
        QVERIFY(request.responseSignal().isEmpty());
    }

    // A receiver may delete the request from inside either signal; receivers
    // after it are not called.
    void receiverDeletesTheRequest_data()
    {
        QTest::addColumn<bool>("complete");
        QTest::newRow("completed") << true;
        QTest::newRow("canceled") << false;
    }

    void receiverDeletesTheRequest()
    {
        QFETCH(bool, complete);
        QPointer<ConnectivityDialogRequest> request(
            new ConnectivityDialogRequest(QStringLiteral("m"), {1}, QStringLiteral("s")));
        int emissions = 0;
        const auto deleteIt = [&] { ++emissions; delete request.data(); };
        const auto countLater = [&] { ++emissions; };
        connect(request.data(), &ConnectivityDialogRequest::completed, this, deleteIt);
        connect(request.data(), &ConnectivityDialogRequest::canceled, this, deleteIt);
        connect(request.data(), &ConnectivityDialogRequest::completed, this, countLater);
        connect(request.data(), &ConnectivityDialogRequest::canceled, this, countLater);
        if (complete)
            request->complete(QStringLiteral("done"), {2});
        else
            request->cancel(QStringLiteral("gone"));
        QVERIFY(request.isNull());
        QCOMPARE(emissions, 1);
    }
};

QTEST_GUILESS_MAIN(TestConnectivityDialogRequest)
#include "tst_connectivitydialogrequest.moc"

#include <Pavane/ConnectivityDialogRequest>

#include <QSignalSpy>
#include <QtTest>

using Pavane::ConnectivityDialogRequest;

class TestConnectivityDialogRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newRequestHoldsWhatWasAsked()
    {
        const QList<QVariant> args{QStringLiteral("wlan0"), 3u};
        ConnectivityDialogRequest request(QStringLiteral("show_wlan_dialog"), args,
                                          QStringLiteral(":1.42"));
        QCOMPARE(request.method(), QStringLiteral("show_wlan_dialog"));
        QCOMPARE(request.arguments(), args);
        QCOMPARE(request.sender(), QStringLiteral(":1.42"));
        QCOMPARE(request.state(), ConnectivityDialogRequest::Initial);
        QVERIFY(request.responseSignal().isEmpty());
        QVERIFY(request.returnArguments().isEmpty());
    }

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
        QCOMPARE(int(request.state()), 3);
    }

    void cancelSignalsTheReasonAndKeepsAnyAnswer()
    {
        ConnectivityDialogRequest request(QStringLiteral("m"), {}, QStringLiteral("s"));
        QSignalSpy canceled(&request, SIGNAL(canceled(QString)));
        ConnectivityDialogRequest::State seenState = ConnectivityDialogRequest::Initial;
        connect(&request, &ConnectivityDialogRequest::canceled, this,
                [&] { seenState = request.state(); });

        request.cancel(QStringLiteral("user pressed back"));
        QCOMPARE(canceled.count(), 1);
        QCOMPARE(canceled.at(0).at(0).toString(), QStringLiteral("user pressed back"));
        QCOMPARE(seenState, ConnectivityDialogRequest::Canceled);
        QVERIFY(request.responseSignal().isEmpty());

        // Nothing guards the transitions: a later complete and cancel both
        // take effect again, and cancel leaves the answer in place.
        request.complete(QStringLiteral("late"), {true});
        QCOMPARE(request.state(), ConnectivityDialogRequest::Completed);
        request.cancel(QStringLiteral("again"));
        QCOMPARE(canceled.count(), 2);
        QCOMPARE(int(request.state()), 2);
        QCOMPARE(request.responseSignal(), QStringLiteral("late"));
        QCOMPARE(request.returnArguments(), QList<QVariant>{true});
    }

    void setStateStoresAnyValueSilently()
    {
        ConnectivityDialogRequest request(QStringLiteral("m"), {}, QStringLiteral("s"));
        QSignalSpy completed(&request, SIGNAL(completed()));
        QSignalSpy canceled(&request, SIGNAL(canceled(QString)));
        request.setState(ConnectivityDialogRequest::State(1));
        QCOMPARE(int(request.state()), 1);
        request.setState(ConnectivityDialogRequest::Completed);
        QCOMPARE(request.state(), ConnectivityDialogRequest::Completed);
        QCOMPARE(completed.count() + canceled.count(), 0);
    }

    void metaObjectDeclaresTheSignalsInOrder()
    {
        const QMetaObject& mo = ConnectivityDialogRequest::staticMetaObject;
        QCOMPARE(mo.methodCount() - mo.methodOffset(), 2);
        const QMetaMethod completed = mo.method(mo.methodOffset());
        const QMetaMethod canceled = mo.method(mo.methodOffset() + 1);
        QCOMPARE(completed.methodSignature(), QByteArray("completed()"));
        QCOMPARE(canceled.methodSignature(), QByteArray("canceled(QString)"));
        QCOMPARE(canceled.parameterNames(), QList<QByteArray>{"reason"});
        QCOMPARE(mo.propertyCount() - mo.propertyOffset(), 0);
    }
};

QTEST_GUILESS_MAIN(TestConnectivityDialogRequest)
#include "tst_connectivitydialogrequest.moc"

// MDialog and MMessageBox: how a tapped button, accept(), reject() and a
// dismissal end exec(), dialogs that go while shown, modality and placement.
// System dialogs are driven through the offline-mode question's suite.
#include "toolkittest.h"

#include <MButton>
#include <MDialog>
#include <MLabel>
#include <MMessageBox>
#include <MSheet>

#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <tuple>

using namespace ToolkitTest;

class TestDialog : public QObject
{
    Q_OBJECT

private:
    MWindow* window = nullptr;
    MSheet* page = nullptr;
    // At the top of the window, where no dialog reaches.
    MButton* below = nullptr;

    // Taps @p which as soon as @p dialog is on screen.
    void answerWith(MDialog* dialog, M::StandardButton which)
    {
        connect(dialog, &MSceneWindow::appeared, dialog,
                [dialog, which] { tap(dialog->window(), dialog->button(which)); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        window = shownWindow();
        page = new MSheet;
        below = new MButton(QStringLiteral("Below"));
        page->setHeaderWidget(below);
        page->appear(window);
        QTRY_COMPARE(page->sceneWindowState(), MSceneWindow::Appeared);
    }

    void cleanupTestCase()
    {
        delete page;
        delete window;
    }

    void tappedButtonFinishesOnce_data()
    {
        QTest::addColumn<M::StandardButton>("button");
        QTest::addColumn<bool>("affirmative");
        const QList<std::tuple<M::StandardButton, const char*, bool>> buttons = {
            {M::OkButton, "OK", true}, {M::YesButton, "Yes", true}, {M::SaveButton, "Save", true},
            {M::OpenButton, "Open", true}, {M::ApplyButton, "Apply", true}, {M::NoButton, "No", false},
            {M::CancelButton, "Cancel", false}, {M::CloseButton, "Close", false}, {M::AbortButton, "Abort", false},
            {M::RetryButton, "Retry", false}, {M::IgnoreButton, "Ignore", false},
            {M::DiscardButton, "Discard", false}, {M::HelpButton, "Help", false}, {M::ResetButton, "Reset", false}};
        for (const auto& [button, name, affirmative] : buttons)
            QTest::newRow(name) << button << affirmative;
    }

    void tappedButtonFinishesOnce()
    {
        QFETCH(M::StandardButton, button);
        QFETCH(bool, affirmative);
        const int result = affirmative ? MDialog::AffirmativeResult : int(button);
        MDialog dialog(QStringLiteral("Question"), button | M::HelpButton);
        QSignalSpy finished(&dialog, &MDialog::finished);
        QSignalSpy accepted(&dialog, &MDialog::accepted);
        QSignalSpy rejected(&dialog, &MDialog::rejected);
        answerWith(&dialog, button);
        QCOMPARE(dialog.exec(window), result);
        QCOMPARE(dialog.result(), result);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), result);
        QCOMPARE(accepted.count(), affirmative ? 1 : 0);
        QCOMPARE(rejected.count(), affirmative ? 0 : 1);
        QCOMPARE(window->sceneWindows(), QList<MSceneWindow*>{page});
    }

    void acceptRejectAndDismiss()
    {
        MDialog dialog(QStringLiteral("Question"), M::OkButton);
        QSignalSpy finished(&dialog, &MDialog::finished);
        QTimer::singleShot(0, &dialog, &MDialog::accept);
        QCOMPARE(dialog.exec(window), MDialog::AffirmativeResult);
        QTimer::singleShot(0, &dialog, &MDialog::reject);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QCOMPARE(finished.count(), 2);

        // Closed without an answer: rejected, and nothing finished.
        QTimer::singleShot(0, &dialog, &MSceneWindow::dismiss);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QTimer::singleShot(0, &dialog, &MSceneWindow::disappear);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QCOMPARE(finished.count(), 2);
    }

    void nestedExecReturnsInnerFirst()
    {
        MDialog outer(QStringLiteral("Outer"), M::YesButton | M::NoButton);
        MDialog inner(QStringLiteral("Inner"), M::OkButton);
        answerWith(&inner, M::OkButton);
        QStringList returns;
        connect(&outer, &MSceneWindow::appeared, &outer, [&] {
            returns << QStringLiteral("inner %1").arg(inner.exec(window));
            tap(window, outer.button(M::NoButton));
        });
        returns << QStringLiteral("outer %1").arg(outer.exec(window));
        QCOMPARE(returns, (QStringList{QStringLiteral("inner 1024"), QStringLiteral("outer 65536")}));
    }

    void deletedDialogEndsExec()
    {
        QPointer<MDialog> dialog = new MDialog(QStringLiteral("Gone"), M::OkButton);
        connect(dialog, &MSceneWindow::appeared, this,
                [&] { QTimer::singleShot(0, this, [&] { delete dialog.data(); }); });
        QCOMPARE(dialog->exec(window), int(MDialog::Rejected));
        QVERIFY(!dialog);
        QCOMPARE(window->sceneWindows(), QList<MSceneWindow*>{page});

        // A receiver of finished() may delete it while its tap is handled.
        dialog = new MDialog(QStringLiteral("Gone"), M::YesButton);
        QSignalSpy accepted(dialog, &MDialog::accepted);
        connect(dialog, &MDialog::finished, this, [&] { delete dialog.data(); });
        answerWith(dialog, M::YesButton);
        QCOMPARE(dialog->exec(window), MDialog::AffirmativeResult);
        QVERIFY(!dialog);
        QCOMPARE(accepted.count(), 0);

        // Nothing is left to block taps.
        QSignalSpy clicked(below, &MButton::clicked);
        tap(window, below);
        QCOMPARE(clicked.count(), 1);
    }

    void modalCentredAndGrowingWithItsText()
    {
        QSignalSpy clicked(below, &MButton::clicked);
        MMessageBox box(QStringLiteral("Short"));
        box.appear(window);
        QTRY_COMPARE(box.sceneWindowState(), MSceneWindow::Appeared);
        QCOMPARE(box.geometry().width(), 440.0);
        QCOMPARE(box.geometry().center(), QPointF(240, 427));
        // It takes the taps outside it too.
        QVERIFY(!box.sceneBoundingRect().intersects(below->sceneBoundingRect()));
        tap(window, below);
        QCOMPARE(clicked.count(), 0);

        // A longer text makes it taller, still centred and holding its parts.
        const qreal shortHeight = box.geometry().height();
        box.setText(QStringLiteral("A text that needs many lines. ").repeated(20));
        QTRY_VERIFY(box.geometry().height() > shortHeight + 100);
        QCOMPARE(box.geometry().center(), QPointF(240, 427));
        QVERIFY(box.sceneBoundingRect().contains(box.centralWidget()->sceneBoundingRect()));
        QVERIFY(box.sceneBoundingRect().contains(box.button(M::OkButton)->sceneBoundingRect()));
        box.disappear();
        tap(window, below);
        QCOMPARE(clicked.count(), 1);
    }

    void replacedPartsAreDeleted()
    {
        MDialog dialog;
        dialog.addButton(M::OkButton);
        QPointer<MButton> ok = dialog.button(M::OkButton);
        dialog.setStandardButtons(M::CancelButton | M::NoButton | M::YesButton);
        QVERIFY(!ok);
        QPointer<QGraphicsWidget> central = new MLabel(QStringLiteral("Body"));
        dialog.setCentralWidget(central);
        dialog.appear(window);
        // The buttons stand below the central widget, in a fixed order.
        const auto place = [&](M::StandardButton b) { return dialog.button(b)->sceneBoundingRect(); };
        QTRY_VERIFY(place(M::YesButton).top() > central->sceneBoundingRect().bottom());
        QVERIFY(place(M::YesButton).x() < place(M::NoButton).x() && place(M::NoButton).x() < place(M::CancelButton).x());
        dialog.setCentralWidget(new QGraphicsWidget);
        QVERIFY(!central);
        dialog.disappear();
    }
};

QTEST_MAIN(TestDialog)
#include "tst_mdialog.moc"

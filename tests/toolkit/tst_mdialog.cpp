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

#include <memory>
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
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("affirmative");
        const QList<std::tuple<M::StandardButton, const char*, bool>> buttons = {
            {M::OkButton, "OK", true}, {M::YesButton, "Yes", true}, {M::SaveButton, "Save", true},
            {M::OpenButton, "Open", true}, {M::ApplyButton, "Apply", true}, {M::NoButton, "No", false},
            {M::CancelButton, "Cancel", false}, {M::CloseButton, "Close", false}, {M::AbortButton, "Abort", false},
            {M::RetryButton, "Retry", false}, {M::IgnoreButton, "Ignore", false},
            {M::DiscardButton, "Discard", false}, {M::HelpButton, "Help", false}, {M::ResetButton, "Reset", false}};
        for (const auto& [button, text, affirmative] : buttons)
            QTest::newRow(text) << button << QString::fromLatin1(text) << affirmative;
    }

    void tappedButtonFinishesOnce()
    {
        QFETCH(M::StandardButton, button);
        QFETCH(QString, text);
        QFETCH(bool, affirmative);
        const int result = affirmative ? MDialog::AffirmativeResult : int(button);
        MDialog dialog(QStringLiteral("Question"), button | M::HelpButton);
        QCOMPARE(dialog.button(button)->text(), text);
        QCOMPARE(dialog.button(button)->styleName(), QStringLiteral("CommonDialogButton"));
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
        QCOMPARE(dialog.sceneWindowState(), MSceneWindow::Disappeared);
        QCOMPARE(window->sceneWindows(), QList<MSceneWindow*>{page});
    }

    void acceptRejectAndDismiss()
    {
        MDialog dialog(QStringLiteral("Question"), M::OkButton);
        QSignalSpy finished(&dialog, &MDialog::finished);
        QSignalSpy accepted(&dialog, &MDialog::accepted);
        QTimer::singleShot(0, &dialog, &MDialog::accept);
        QCOMPARE(dialog.exec(window), MDialog::AffirmativeResult);
        QTimer::singleShot(0, &dialog, [&] { dialog.done(MDialog::Accepted); });
        QCOMPARE(dialog.exec(window), int(MDialog::Accepted));
        QCOMPARE(accepted.count(), 2);
        QTimer::singleShot(0, &dialog, &MDialog::reject);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QCOMPARE(finished.count(), 3);

        // Closed without an answer: no result, and nothing finished.
        QTimer::singleShot(0, &dialog, &MSceneWindow::dismiss);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QTimer::singleShot(0, &dialog, &MSceneWindow::disappear);
        QCOMPARE(dialog.exec(window), int(MDialog::Rejected));
        QCOMPARE(finished.count(), 3);
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

    void modalDialogTakesTapsBelowIt()
    {
        QSignalSpy clicked(below, &MButton::clicked);
        MDialog dialog(QStringLiteral("Modal"), M::OkButton);
        dialog.appear(window);
        QTRY_COMPARE(dialog.sceneWindowState(), MSceneWindow::Appeared);
        QVERIFY(!dialog.sceneBoundingRect().intersects(below->sceneBoundingRect()));
        tap(window, below);
        QCOMPARE(clicked.count(), 0);
        dialog.disappear();
        tap(window, below);
        QCOMPARE(clicked.count(), 1);
    }

    void placementCentredAndBounded()
    {
        MMessageBox box(QStringLiteral("Short"));
        box.appear(window);
        QCOMPARE(box.geometry().width(), 440.0);
        QCOMPARE(box.geometry().center(), QPointF(240, 427));
        const qreal shortHeight = box.geometry().height();
        box.setText(QStringLiteral("A text that needs many lines. ").repeated(20));
        QTRY_VERIFY(box.geometry().height() > shortHeight + 100);
        QCOMPARE(box.geometry().center(), QPointF(240, 427));
        // Its contents stay inside it.
        QVERIFY(box.sceneBoundingRect().contains(box.centralWidget()->sceneBoundingRect()));
        QVERIFY(box.sceneBoundingRect().contains(box.button(M::OkButton)->sceneBoundingRect()));

        std::unique_ptr<MWindow> small(shownWindow(QSize(300, 200)));
        box.appear(small.get());
        QCOMPARE(box.geometry(), QRectF(20, 20, 260, 160));
        QTRY_VERIFY(box.sceneBoundingRect().contains(box.button(M::OkButton)->sceneBoundingRect()));
        box.disappear();
    }

    void systemDialogGoesSystemwide()
    {
        MDialog dialog(QStringLiteral("Where"), M::OkButton);
        dialog.appear();
        QCOMPARE(dialog.window(), window);

        MWindow* systemwide = MWindow::systemwideWindow();
        dialog.setSystem(true);
        dialog.appear();
        QCOMPARE(dialog.window(), systemwide);
        QVERIFY(systemwide->isVisible());
        answerWith(&dialog, M::OkButton);
        QCOMPARE(dialog.exec(), MDialog::AffirmativeResult);
        QVERIFY(!systemwide->isVisible());
    }

    void titleCentralWidgetAndButtons()
    {
        MDialog dialog;
        dialog.addButton(M::CancelButton);
        dialog.addButton(M::OkButton);
        dialog.addButton(M::OkButton);
        QCOMPARE(dialog.standardButtons(), M::OkButton | M::CancelButton);
        QPointer<MButton> ok = dialog.button(M::OkButton);
        dialog.setStandardButtons(M::CancelButton | M::NoButton | M::YesButton);
        QVERIFY(!ok);
        QCOMPARE(dialog.standardButtons(), M::YesButton | M::NoButton | M::CancelButton);

        QPointer<QGraphicsWidget> central = new MLabel(QStringLiteral("Body"));
        dialog.setCentralWidget(central);
        dialog.appear(window);
        // No title: the central widget stands at the top, the buttons below it.
        const qreal top = dialog.contentsRect().top();
        QTRY_COMPARE(central->geometry().top(), top);
        const auto x = [&](M::StandardButton b) { return dialog.button(b)->sceneBoundingRect().x(); };
        QVERIFY(x(M::YesButton) < x(M::NoButton) && x(M::NoButton) < x(M::CancelButton));
        QVERIFY(dialog.button(M::YesButton)->sceneBoundingRect().top() > central->sceneBoundingRect().bottom());

        dialog.setTitle(QStringLiteral("Title"));
        QCOMPARE(dialog.title(), QStringLiteral("Title"));
        QTRY_VERIFY(central->geometry().top() > top + 20);
        dialog.setCentralWidget(new QGraphicsWidget);
        QVERIFY(!central);
    }

    void messageBoxShowsItsText()
    {
        MMessageBox box(QStringLiteral("Forget"), QStringLiteral("Forget the network?"), M::StandardButtons(0x14000));
        QCOMPARE(box.standardButtons(), M::YesButton | M::NoButton);
        QCOMPARE(box.title(), QStringLiteral("Forget"));
        auto* label = qobject_cast<MLabel*>(box.centralWidget());
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Forget the network?"));
        QVERIFY(label->wordWrap());
        QCOMPARE(label->styleName(), QStringLiteral("CommonBodyText"));
        box.setText(QStringLiteral("Really?"));
        QCOMPARE(box.text(), QStringLiteral("Really?"));
        QCOMPARE(label->text(), box.text());
        answerWith(&box, M::NoButton);
        QCOMPARE(box.exec(window), int(M::NoButton));

        MMessageBox plain(QStringLiteral("Saved"));
        QCOMPARE(plain.standardButtons(), M::StandardButtons(M::OkButton));
        QVERIFY(plain.title().isEmpty());
    }
};

QTEST_MAIN(TestDialog)
#include "tst_mdialog.moc"

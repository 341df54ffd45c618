// MSheet and MBasicSheetHeader: what the sheet owns, how it lays out its
// parts, the systemwide window, and header buttons that follow their
// actions. Scene-window states are driven in the basics suite.
#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MLabel>
#include <MSheet>

#include <QAction>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace ToolkitTest;

class TestSheet : public QObject
{
    Q_OBJECT

private:
    MWindow* window = nullptr;

private Q_SLOTS:
    void initTestCase() { window = shownWindow(); }
    void cleanupTestCase() { delete window; }

    void replacedWidgetsAreDeleted()
    {
        QPointer<QGraphicsWidget> header = new MLabel(QStringLiteral("one"));
        QPointer<QGraphicsWidget> central = new QGraphicsWidget;
        {
            MSheet sheet;
            sheet.setHeaderWidget(header);
            sheet.setCentralWidget(central);
            // Set again, it is kept.
            sheet.setHeaderWidget(header);
            QVERIFY(header);
            header = new MLabel(QStringLiteral("two"));
            QPointer<QGraphicsWidget> first = sheet.headerWidget();
            sheet.setHeaderWidget(header);
            QVERIFY(!first);
            sheet.setHeaderWidget(nullptr);
            QVERIFY(!header);
        }
        // The sheet took the central widget with it.
        QVERIFY(!central);
    }

    void centralWidgetTakesTheRemainingHeight()
    {
        MSheet sheet;
        auto* header = new MBasicSheetHeader;
        auto* central = new QGraphicsWidget;
        sheet.setHeaderWidget(header);
        sheet.setCentralWidget(central);
        sheet.appear(window);
        QTRY_COMPARE(central->geometry(), QRectF(0, header->geometry().bottom(), 480, 854 - header->geometry().bottom()));
        QCOMPARE(header->geometry(), QRectF(0, 0, 480, header->effectiveSizeHint(Qt::PreferredSize).height()));
    }

    void systemwideSheetShowsTheSystemwideWindow()
    {
        MWindow* systemwide = MWindow::systemwideWindow();
        QPointer<MSheet> sheet = new MSheet;
        auto* header = new MLabel(QStringLiteral("header"));
        sheet->setHeaderWidget(header);
        sheet->setStatusBarVisibleInSystemwide(true);
        sheet->appear(window);
        QTRY_COMPARE(header->geometry().top(), 0.0);
        sheet->disappear();

        QVERIFY(!systemwide->isVisible());
        sheet->appearSystemwide(MSceneWindow::DestroyWhenDone);
        QVERIFY(systemwide->isVisible());
        // Only here does a status bar strip stand above the header.
        QTRY_COMPARE(header->geometry().top(), 30.0);
        sheet->disappear();
        QVERIFY(!systemwide->isVisible());
        QTRY_VERIFY(!sheet);

        // Deleting a shown sheet empties the window too.
        sheet = new MSheet;
        sheet->appearSystemwide();
        delete sheet;
        QVERIFY(!systemwide->isVisible());
        QVERIFY(systemwide->sceneWindows().isEmpty());
    }

    void headerButtonsFollowTheirActions()
    {
        MSheet sheet;
        auto* header = new MBasicSheetHeader;
        sheet.setHeaderWidget(header);
        QVERIFY(!header->positiveButton());
        auto* save = new QAction(QStringLiteral("Done"), this);
        QAction cancel(QStringLiteral("Cancel"));
        header->setPositiveAction(save);
        header->setNegativeAction(&cancel);
        MButton* button = header->positiveButton();
        sheet.appear(window);
        QTRY_COMPARE(sheet.sceneWindowState(), MSceneWindow::Appeared);
        // Negative at the left edge, positive at the right one.
        QVERIFY(header->negativeButton()->geometry().right() < 240);
        QVERIFY(button->geometry().left() > 240);

        QSignalSpy saved(save, &QAction::triggered);
        save->setText(QStringLiteral("Save"));
        QCOMPARE(button->text(), QStringLiteral("Save"));
        tap(window, button);
        QCOMPARE(saved.count(), 1);
        save->setEnabled(false);
        tap(window, button);
        QCOMPARE(saved.count(), 1);

        // A replaced action no longer speaks for the button, and a deleted
        // one takes the button away.
        QAction other(QStringLiteral("Other"));
        header->setPositiveAction(&other);
        save->setText(QStringLiteral("Stale"));
        QCOMPARE(button->text(), QStringLiteral("Other"));
        header->setPositiveAction(save);
        delete save;
        QVERIFY(!header->positiveButton());
        QVERIFY(!button->isVisible());

        // Inverted headers take inverted buttons.
        header->setStyleName(QStringLiteral("Inverted"));
        QCOMPARE(header->negativeButton()->styleName(), QStringLiteral("CommonSheetHeaderNegativeButtonInverted"));
        sheet.disappear();
    }
};

QTEST_MAIN(TestSheet)
#include "tst_msheet.moc"

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
using State = MSceneWindow::SceneWindowState;

Q_DECLARE_METATYPE(MSceneWindow::DeletionPolicy)

class TestSheet : public QObject
{
    Q_OBJECT

private:
    MWindow* window = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<State>();
        window = shownWindow();
    }

    void cleanupTestCase() { delete window; }

    void replacedWidgetsAreDeleted()
    {
        QPointer<QGraphicsWidget> header = new MLabel(QStringLiteral("one"));
        QPointer<QGraphicsWidget> central = new QGraphicsWidget;
        {
            MSheet sheet;
            sheet.setHeaderWidget(header);
            sheet.setCentralWidget(central);
            QCOMPARE(header->parentItem(), &sheet);
            sheet.setHeaderWidget(header);
            QVERIFY(header);
            auto* replacement = new MLabel(QStringLiteral("two"));
            sheet.setHeaderWidget(replacement);
            QVERIFY(!header);
            QCOMPARE(sheet.headerWidget(), replacement);
            header = replacement;
            sheet.setHeaderWidget(nullptr);
            QVERIFY(!header);
            QVERIFY(!sheet.headerWidget());
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

        sheet.setHeaderVisible(false);
        QVERIFY(!header->isVisible());
        QTRY_COMPARE(central->geometry(), QRectF(0, 0, 480, 854));
    }

    void appearsOnTheNextPassAndDisappearsAtOnce()
    {
        MSheet sheet;
        QSignalSpy states(&sheet, &MSceneWindow::sceneWindowStateChanged);
        QSignalSpy appeared(&sheet, &MSceneWindow::appeared);
        sheet.appear(window);
        QCOMPARE(sheet.sceneWindowState(), MSceneWindow::Appearing);
        QVERIFY(window->sceneWindows().contains(&sheet));
        QCOMPARE(appeared.count(), 0);
        QTRY_COMPARE(appeared.count(), 1);

        sheet.disappear();
        QVERIFY(!window->sceneWindows().contains(&sheet));
        QList<State> sequence;
        for (const QList<QVariant>& change : qAsConst(states))
            sequence.append(change.at(0).value<State>());
        QCOMPARE(sequence, (QList<State>{MSceneWindow::Appearing, MSceneWindow::Appeared,
                                         MSceneWindow::Disappearing, MSceneWindow::Disappeared}));
    }

    void deletionPolicies_data()
    {
        QTest::addColumn<MSceneWindow::DeletionPolicy>("policy");
        QTest::addColumn<bool>("dismiss");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("keep, dismissed") << MSceneWindow::KeepWhenDone << true << false;
        QTest::newRow("when done, disappeared") << MSceneWindow::DestroyWhenDone << false << true;
        QTest::newRow("when dismissed, disappeared") << MSceneWindow::DestroyWhenDismissed << false << false;
        QTest::newRow("when dismissed, dismissed") << MSceneWindow::DestroyWhenDismissed << true << true;
    }

    void deletionPolicies()
    {
        QFETCH(MSceneWindow::DeletionPolicy, policy);
        QFETCH(bool, dismiss);
        QFETCH(bool, deleted);
        QPointer<MSheet> sheet = new MSheet;
        sheet->appear(window, policy);
        QTRY_COMPARE(sheet->sceneWindowState(), MSceneWindow::Appeared);
        if (dismiss)
            QVERIFY(sheet->dismiss());
        else
            sheet->disappear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(sheet.isNull(), deleted);
        delete sheet;
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
        QCOMPARE(sheet->window(), systemwide);
        QVERIFY(systemwide->isVisible());
        // Only here does a status bar strip stand above the header.
        QTRY_COMPARE(header->geometry().top(), 30.0);
        sheet->setStatusBarVisibleInSystemwide(false);
        QTRY_COMPARE(header->geometry().top(), 0.0);
        sheet->disappear();
        QVERIFY(!systemwide->isVisible());
        QTRY_VERIFY(!sheet);

        // Deleting a shown sheet empties the window too.
        sheet = new MSheet;
        sheet->appearSystemwide();
        QVERIFY(systemwide->isVisible());
        delete sheet;
        QVERIFY(!systemwide->isVisible());
        QVERIFY(systemwide->sceneWindows().isEmpty());
    }

    void headerButtonsFollowTheirActions()
    {
        MBasicSheetHeader header;
        QVERIFY(!header.positiveButton());
        QVERIFY(!header.negativeButton());
        auto* done = new QAction(QStringLiteral("Done"), this);
        header.setPositiveAction(done);
        MButton* button = header.positiveButton();
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Done"));
        QVERIFY(button->isVisibleTo(&header));

        done->setText(QStringLiteral("Save"));
        QCOMPARE(button->text(), QStringLiteral("Save"));
        done->setEnabled(false);
        QVERIFY(!button->isEnabled());
        done->setVisible(false);
        QVERIFY(!button->isVisibleTo(&header));
        done->setVisible(true);

        // A replaced action no longer speaks for the button.
        QAction other(QStringLiteral("Other"));
        header.setPositiveAction(&other);
        done->setText(QStringLiteral("Stale"));
        QCOMPARE(button->text(), QStringLiteral("Other"));
        header.setPositiveAction(done);
        delete done;
        QVERIFY(!header.positiveButton());
        QVERIFY(!button->isVisibleTo(&header));

        QVERIFY(!header.isProgressIndicatorVisible());
        header.setProgressIndicatorVisible(true);
        QVERIFY(header.isProgressIndicatorVisible());
    }

    void headerButtonTapsTriggerTheirActions()
    {
        MSheet sheet;
        auto* header = new MBasicSheetHeader;
        QAction save(QStringLiteral("Save"));
        QAction cancel(QStringLiteral("Cancel"));
        header->setPositiveAction(&save);
        header->setNegativeAction(&cancel);
        sheet.setHeaderWidget(header);
        sheet.appear(window);
        QTRY_COMPARE(sheet.sceneWindowState(), MSceneWindow::Appeared);
        // Negative at the left edge, positive at the right one.
        QVERIFY(header->negativeButton()->geometry().right() < 240);
        QVERIFY(header->positiveButton()->geometry().left() > 240);

        QSignalSpy saved(&save, &QAction::triggered);
        QSignalSpy cancelled(&cancel, &QAction::triggered);
        tap(window, header->positiveButton());
        QCOMPARE(saved.count(), 1);
        QCOMPARE(cancelled.count(), 0);
        tap(window, header->negativeButton());
        QCOMPARE(cancelled.count(), 1);
        save.setEnabled(false);
        tap(window, header->positiveButton());
        QCOMPARE(saved.count(), 1);
    }

    void invertedHeaderTakesInvertedButtons()
    {
        MBasicSheetHeader header;
        QAction save(QStringLiteral("Save"));
        QAction cancel(QStringLiteral("Cancel"));
        header.setPositiveAction(&save);
        header.setNegativeAction(&cancel);
        QCOMPARE(header.positiveButton()->styleName(), QStringLiteral("CommonSheetHeaderButton"));
        QCOMPARE(header.negativeButton()->styleName(), QStringLiteral("CommonSheetHeaderNegativeButton"));
        header.setStyleName(QStringLiteral("Inverted"));
        QCOMPARE(header.positiveButton()->styleName(), QStringLiteral("CommonSheetHeaderButtonInverted"));
        QCOMPARE(header.negativeButton()->styleName(), QStringLiteral("CommonSheetHeaderNegativeButtonInverted"));
        header.setStyleName(QString());
        QCOMPARE(header.positiveButton()->styleName(), QStringLiteral("CommonSheetHeaderButton"));
    }
};

QTEST_MAIN(TestSheet)
#include "tst_msheet.moc"

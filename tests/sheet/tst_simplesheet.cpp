// SimpleSheet shown in a window and decided by taps on its header.
#include <Pavane/SimpleSheet>

#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MLabel>
#include <MPannableViewport>
#include <MPositionIndicator>

#include <QAction>
#include <QGraphicsLinearLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using Pavane::SimpleSheet;

namespace {

MBasicSheetHeader* headerOf(SimpleSheet* sheet)
{
    return qobject_cast<MBasicSheetHeader*>(sheet->headerWidget());
}

QStringList decisions(const QSignalSpy& finished)
{
    QStringList result;
    for (const QList<QVariant>& call : finished)
        result << (call.at(0).toBool() ? QStringLiteral("accepted") : QStringLiteral("rejected"));
    return result;
}

} // namespace

class TestSimpleSheet : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    // Taps a header button once the sheet is on screen, from inside exec().
    void tapWhenShown(SimpleSheet* sheet, bool accept)
    {
        QTimer::singleShot(0, this, [this, sheet, accept] {
            if (!QTest::qWaitFor([sheet] { return sheet->sceneWindowState() == MSceneWindow::Appeared; }))
                return;
            MBasicSheetHeader* header = headerOf(sheet);
            ToolkitTest::tap(sheet->window(), accept ? header->positiveButton() : header->negativeButton());
        });
    }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { window.reset(); }

    void theHeaderComesWhenNeeded()
    {
        SimpleSheet sheet;
        QVERIFY(!sheet.headerWidget());
        QVERIFY(!sheet.isAcceptEnabled());
        QVERIFY(sheet.acceptLabel().isNull() && sheet.rejectLabel().isNull());
        QVERIFY(!sheet.isProgressIndicatorVisible());

        sheet.setAcceptEnabled(true);
        QVERIFY(!sheet.isAcceptEnabled()); // no accept action yet
        sheet.setAcceptEnabled(false);
        sheet.setAcceptLabel(QStringLiteral("Save"));
        QVERIFY(headerOf(&sheet));
        QCOMPARE(sheet.acceptLabel(), QStringLiteral("Save"));
        QVERIFY(!sheet.isAcceptEnabled()); // created disabled
        QVERIFY(sheet.rejectLabel().isNull());
        sheet.setProgressIndicatorVisible(true);
        QVERIFY(sheet.isProgressIndicatorVisible());

        // An action put on the header by other means is kept and named.
        QAction own(headerOf(&sheet));
        headerOf(&sheet)->setNegativeAction(&own);
        sheet.setRejectLabel(QStringLiteral("Cancel"));
        QCOMPARE(own.text(), QStringLiteral("Cancel"));
    }

    void execReportsTheDecision_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accept button") << true;
        QTest::newRow("reject button") << false;
    }

    void execReportsTheDecision()
    {
        QFETCH(bool, accept);
        SimpleSheet sheet;
        sheet.setAcceptLabel(QStringLiteral("Save"));
        sheet.setRejectLabel(QStringLiteral("Cancel"));
        QSignalSpy finished(&sheet, &SimpleSheet::finished);
        QSignalSpy accepted(&sheet, &SimpleSheet::accepted);
        QSignalSpy rejected(&sheet, &SimpleSheet::rejected);
        tapWhenShown(&sheet, accept);
        QCOMPARE(sheet.exec(window.data()), accept);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(accepted.count(), accept ? 1 : 0);
        QCOMPARE(rejected.count(), accept ? 0 : 1);
        QCOMPARE(sheet.isAccepted(), accept);
        QCOMPARE(sheet.isRejected(), !accept);

        // It stays on screen until the caller dismisses it; that says nothing more.
        QCOMPARE(sheet.sceneWindowState(), MSceneWindow::Appeared);
        sheet.dismiss();
        QCOMPARE(finished.count(), 1);
    }

    void execEndsWhenTheSheetGoes()
    {
        SimpleSheet sheet;
        QTimer::singleShot(0, &sheet, [&sheet] {
            if (QTest::qWaitFor([&sheet] { return sheet.sceneWindowState() == MSceneWindow::Appeared; }))
                sheet.dismiss();
        });
        QSignalSpy finished(&sheet, &SimpleSheet::finished);
        QVERIFY(!sheet.exec(window.data()));
        QCOMPARE(decisions(finished), QStringList{QStringLiteral("rejected")});

        auto* doomed = new SimpleSheet;
        QTimer::singleShot(0, doomed, [doomed] { delete doomed; });
        QVERIFY(!doomed->exec(window.data()));
    }

    void systemWideWithoutWindow()
    {
        SimpleSheet sheet;
        sheet.setAcceptLabel(QStringLiteral("OK"));
        tapWhenShown(&sheet, true);
        QVERIFY(sheet.exec());
        QCOMPARE(sheet.window(), MWindow::systemwideWindow());
        QVERIFY(sheet.isStatusBarVisibleInSystemwide());
        sheet.disappear();
    }

    void aReceiverMayDeleteTheSheet()
    {
        QPointer<SimpleSheet> sheet = new SimpleSheet;
        int followUps = 0;
        connect(sheet.data(), &SimpleSheet::finished, this, [&sheet] { delete sheet.data(); });
        connect(sheet.data(), &SimpleSheet::rejected, this, [&followUps] { ++followUps; });
        sheet->reject();
        QVERIFY(sheet.isNull());
        QCOMPARE(followUps, 0);
    }

    void undecidedDestructionIsARejection()
    {
        auto* sheet = new SimpleSheet;
        QSignalSpy finished(sheet, &SimpleSheet::finished);
        QSignalSpy rejected(sheet, &SimpleSheet::rejected);
        sheet->appear(window.data());
        delete sheet;
        QCOMPARE(decisions(finished), QStringList{QStringLiteral("rejected")});
        QCOMPARE(rejected.count(), 1);
    }

    void theBody()
    {
        SimpleSheet sheet;
        auto* content = new MLabel(QStringLiteral("content"));
        sheet.setContent(content);
        sheet.setTitle(QStringLiteral("Connect"));
        QGraphicsWidget* viewport = sheet.centralWidget();
        sheet.setTitle(QStringLiteral("Connect to network")); // only the text changes
        QCOMPARE(sheet.centralWidget(), viewport);

        sheet.appear(window.data());
        QTRY_VERIFY(content->isVisible() && content->size().height() > 0);
        MLabel* title = nullptr;
        for (QGraphicsItem* item : content->parentItem()->childItems()) {
            if (auto* label = qobject_cast<MLabel*>(item->toGraphicsObject()); label && label != content)
                title = label;
        }
        QVERIFY(title);
        QCOMPARE(title->text(), QStringLiteral("Connect to network"));
        QCOMPARE(title->styleName(), QStringLiteral("CommonHeader"));
        QVERIFY(title->sceneBoundingRect().bottom() <= content->sceneBoundingRect().top());

        // Replacing the content rebuilds the body but keeps the title line.
        sheet.setContent(new MLabel(QStringLiteral("other")));
        QCOMPARE(title->text(), QStringLiteral("Connect to network"));
        sheet.disappear();
    }

    void invertedStyleNames()
    {
        SimpleSheet sheet;
        sheet.setStyleName(QStringLiteral("DialogSheetInverted"));
        sheet.setTitle(QStringLiteral("Title"));
        sheet.setAcceptLabel(QStringLiteral("Save"));
        sheet.appear(window.data());
        auto* viewport = qobject_cast<MPannableViewport*>(sheet.centralWidget());
        QCOMPARE(headerOf(&sheet)->styleName(), QStringLiteral("Inverted"));
        QCOMPARE(viewport->positionIndicator()->styleName(), QStringLiteral("CommonPositionIndicatorInverted"));
        QCOMPARE(viewport->widget()->childItems().isEmpty(), false);
        auto* title = qobject_cast<MLabel*>(viewport->widget()->childItems().first()->toGraphicsObject());
        QVERIFY(title);
        QCOMPARE(title->styleName(), QStringLiteral("CommonHeaderInverted"));
        sheet.disappear();
    }
};

QTEST_MAIN(TestSimpleSheet)
#include "tst_simplesheet.moc"

// SimpleSheet shown in a window and decided by taps on its header.
#include <Pavane/SimpleSheet>

#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MLabel>
#include <MPannableViewport>
#include <MPositionIndicator>

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
        sheet.setAcceptEnabled(false);
        QVERIFY(!sheet.headerWidget());
        // The accept action comes with its label, as it was asked to be.
        sheet.setAcceptLabel(QStringLiteral("Save"));
        QVERIFY(headerOf(&sheet));
        QVERIFY(!sheet.isAcceptEnabled());
    }

    void execReportsTheDecision_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("systemWide");
        QTest::newRow("accept button") << true << false;
        QTest::newRow("reject button") << false << false;
        QTest::newRow("system-wide, without window") << true << true;
    }

    void execReportsTheDecision()
    {
        QFETCH(bool, accept);
        QFETCH(bool, systemWide);
        SimpleSheet sheet;
        sheet.setAcceptLabel(QStringLiteral("Save"));
        sheet.setRejectLabel(QStringLiteral("Cancel"));
        QSignalSpy finished(&sheet, &SimpleSheet::finished);
        QSignalSpy accepted(&sheet, &SimpleSheet::accepted);
        QSignalSpy rejected(&sheet, &SimpleSheet::rejected);
        tapWhenShown(&sheet, accept);
        QCOMPARE(sheet.exec(systemWide ? nullptr : window.data()), accept);
        QCOMPARE(sheet.window(), systemWide ? MWindow::systemwideWindow() : window.data());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(accepted.count(), accept ? 1 : 0);
        QCOMPARE(rejected.count(), accept ? 0 : 1);

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
        QSignalSpy rejected(&sheet, &SimpleSheet::rejected);
        QVERIFY(!sheet.exec(window.data()));
        QCOMPARE(rejected.count(), 1);

        // Destroyed undecided, here from inside exec(): also a rejection.
        auto* doomed = new SimpleSheet;
        QSignalSpy doomedFinished(doomed, &SimpleSheet::finished);
        QSignalSpy doomedRejected(doomed, &SimpleSheet::rejected);
        QTimer::singleShot(0, doomed, [doomed] { delete doomed; });
        QVERIFY(!doomed->exec(window.data()));
        QCOMPARE(doomedFinished.count(), 1);
        QCOMPARE(doomedRejected.count(), 1);
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

    // The content is the host's to delete; the sheet then builds without it.
    void contentDeletedByTheHost()
    {
        SimpleSheet sheet;
        auto* content = new MLabel(QStringLiteral("content"));
        sheet.setContent(content);
        delete content;
        QVERIFY(!sheet.content());
        sheet.setTitle(QStringLiteral("Connect"));
        sheet.appear(window.data());
        QTRY_COMPARE(sheet.sceneWindowState(), MSceneWindow::Appeared);
        sheet.disappear();
    }

    void theBody()
    {
        SimpleSheet sheet;
        auto* content = new MLabel(QStringLiteral("content"));
        sheet.setContent(content);
        sheet.setTitle(QStringLiteral("Connect"));
        sheet.appear(window.data());
        QTRY_VERIFY(content->isVisible() && content->size().height() > 0);
        auto* title = qobject_cast<MLabel*>(content->parentItem()->childItems().value(0)->toGraphicsObject());
        QVERIFY(title && title != content);
        QCOMPARE(title->styleName(), QStringLiteral("CommonHeader"));
        QVERIFY(title->sceneBoundingRect().bottom() <= content->sceneBoundingRect().top());

        // Replacing the content rebuilds the body but keeps the title line.
        sheet.setContent(new MLabel(QStringLiteral("other")));
        QCOMPARE(title->text(), QStringLiteral("Connect"));
        sheet.disappear();

        // An inverted sheet inverts what it shows, on its next appearance.
        sheet.setStyleName(QStringLiteral("DialogSheetInverted"));
        sheet.setAcceptLabel(QStringLiteral("Save"));
        sheet.appear(window.data());
        auto* viewport = qobject_cast<MPannableViewport*>(sheet.centralWidget());
        QCOMPARE(headerOf(&sheet)->styleName(), QStringLiteral("Inverted"));
        QCOMPARE(viewport->positionIndicator()->styleName(), QStringLiteral("CommonPositionIndicatorInverted"));
        QCOMPARE(title->styleName(), QStringLiteral("CommonHeaderInverted"));
        sheet.disappear();
    }
};

QTEST_MAIN(TestSimpleSheet)
#include "tst_simplesheet.moc"

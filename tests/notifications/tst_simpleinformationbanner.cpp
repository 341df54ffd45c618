// Banners shown in a window: their styles, and their going by themselves.
#include <Pavane/SimpleInformationBanner>

#include "toolkittest.h"

#include <QPointer>
#include <QtTest>

using Pavane::SimpleInformationBanner;

class TestSimpleInformationBanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bannersComeAndGo()
    {
        QScopedPointer<MWindow> window(ToolkitTest::shownWindow());
        QPointer<SimpleInformationBanner> quick = SimpleInformationBanner::show(QStringLiteral("Saved"), 0);
        QPointer<SimpleInformationBanner> slow = SimpleInformationBanner::show(QStringLiteral("Saved"), 10000);
        for (SimpleInformationBanner* banner : {quick.data(), slow.data()}) {
            QCOMPARE(banner->styleName(), QStringLiteral("InformationBanner"));
            QCOMPARE(banner->title(), QStringLiteral("Saved"));
            QCOMPARE(banner->window(), window.data());
        }
        QTRY_COMPARE(quick->sceneWindowState(), MSceneWindow::Appeared);
        // They go by themselves, whatever time was asked for, and are destroyed.
        QTRY_VERIFY_WITH_TIMEOUT(quick.isNull() && slow.isNull(), 10000);
    }

    void systemBanner()
    {
        QScopedPointer<MWindow> window(ToolkitTest::shownWindow());
        SimpleInformationBanner::show(QStringLiteral("Offline mode"), QString());
        const QList<MSceneWindow*> shown = window->sceneWindows();
        QCOMPARE(shown.size(), 1);
        auto* banner = qobject_cast<SimpleInformationBanner*>(shown.first());
        QCOMPARE(banner->styleName(), QStringLiteral("SystemBanner"));
        QPointer<SimpleInformationBanner> gone = banner;
        ToolkitTest::tap(window.data(), banner); // a tap sends it away at once
        QTRY_VERIFY(gone.isNull());
    }
};

QTEST_MAIN(TestSimpleInformationBanner)
#include "tst_simpleinformationbanner.moc"

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
    void styleNames()
    {
        QCOMPARE(Pavane::FullEventBanner, QStringLiteral("FullEventBanner"));
        QCOMPARE(Pavane::ShortEventBanner, QStringLiteral("ShortEventBanner"));
        QCOMPARE(Pavane::PrivateEventBanner, QStringLiteral("PrivateEventBanner"));
        QCOMPARE(Pavane::InformationBanner, QStringLiteral("InformationBanner"));
        QCOMPARE(Pavane::LockScreenEventBanner, QStringLiteral("LockScreenEventBanner"));
        QCOMPARE(Pavane::SystemBanner, QStringLiteral("SystemBanner"));
        QCOMPARE(Pavane::GenericBanner, QStringLiteral("GenericBanner"));
    }

    void bannersComeAndGo()
    {
        QScopedPointer<MWindow> window(ToolkitTest::shownWindow());
        QPointer<SimpleInformationBanner> quick = SimpleInformationBanner::show(QStringLiteral("Saved"), 0);
        QPointer<SimpleInformationBanner> slow = SimpleInformationBanner::show(QStringLiteral("Saved"), 10000);
        for (SimpleInformationBanner* banner : {quick.data(), slow.data()}) {
            QCOMPARE(banner->styleName(), QStringLiteral("InformationBanner"));
            QCOMPARE(banner->title(), QStringLiteral("Saved"));
            QCOMPARE(banner->window(), window.data());
            QCOMPARE(banner->deletionPolicy(), MSceneWindow::DestroyWhenDone);
            QCOMPARE(banner->displayTime(), quick->displayTime()); // the number has no effect
        }
        QTRY_COMPARE(quick->sceneWindowState(), MSceneWindow::Appeared);
        // They go by themselves, and are destroyed.
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
        QCOMPARE(banner->iconID(), QString());
        QPointer<SimpleInformationBanner> gone = banner;
        ToolkitTest::tap(window.data(), banner); // a tap sends it away at once
        QTRY_VERIFY(gone.isNull());
    }

    void aBannerOfOnesOwn()
    {
        SimpleInformationBanner banner(QStringLiteral("Not shown"));
        QCOMPARE(banner.styleName(), QString());
        QCOMPARE(banner.sceneWindowState(), MSceneWindow::Disappeared);
        QCOMPARE(banner.title(), QStringLiteral("Not shown"));
    }
};

QTEST_MAIN(TestSimpleInformationBanner)
#include "tst_simpleinformationbanner.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The library in a host without a QApplication: OfflineMode cannot ask and
// no banner can show; they say so, but must not take the host down.
#include <Pavane/OfflineMode>
#include <Pavane/SimpleInformationBanner>

#include "testsupport.h"

#include <QSignalSpy>
#include <QtTest>

using Pavane::OfflineMode;

class TestOfflineModeWithoutGui : public QObject
{
    Q_OBJECT

private:
    TestSupport::DevmodeProcess daemon;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(daemon.start({QStringLiteral("--radio-states"), QStringLiteral("0x1e")}));
    }

    void askingWithoutWidgetsIsADecline()
    {
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        QVERIFY(!mode.currentStatus());
        const QRegularExpression warning(QStringLiteral("cannot ask without a QApplication"));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!mode.requestExit());
        QTest::ignoreMessage(QtWarningMsg, warning);
        mode.requestExitAsync();
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.at(0).at(0).toBool(), true);
        QCOMPARE(daemon.lastRequest(QStringLiteral("req_radio_states_change")).count, 0u);
    }

    // Nor is a banner made, which would never appear and so never go.
    void noBannerWithoutWidgets()
    {
        const char* warning = "SimpleInformationBanner: cannot show a banner without a QApplication";
        QTest::ignoreMessage(QtWarningMsg, warning);
        QCOMPARE(Pavane::SimpleInformationBanner::show(QStringLiteral("Saved"), 0), nullptr);
        QTest::ignoreMessage(QtWarningMsg, warning);
        Pavane::SimpleInformationBanner::show(QStringLiteral("Offline mode"), QStringLiteral("icon-m-common-wlan"));
    }
};

QTEST_GUILESS_MAIN(TestOfflineModeWithoutGui)
#include "tst_offlinemode_nogui.moc"

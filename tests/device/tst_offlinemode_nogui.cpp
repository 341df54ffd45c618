// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// OfflineMode in a host without a QApplication: it cannot ask, and says so,
// but it must not take the host down.
#include <Pavane/OfflineMode>

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
};

QTEST_GUILESS_MAIN(TestOfflineModeWithoutGui)
#include "tst_offlinemode_nogui.moc"

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// OfflineMode and RadioState as real airplane mode: devmoded switches the
// kernel's radio kill switches, here a stand-in device the test holds.
#include <Pavane/OfflineMode>
#include <Pavane/RadioState>

#include "fakerfkill.h"
#include "testsupport.h"
#include "toolkittest.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using Pavane::OfflineMode;
using Pavane::RadioState;

class TestOfflineModeRfkill : public QObject
{
    Q_OBJECT

    TestSupport::DevmodeProcess daemon;
    FakeRfkill kernel;

private Q_SLOTS:
    // Every radio blocked: devmoded starts offline, and remembers that WLAN
    // was on before and Bluetooth off.
    void initTestCase()
    {
        QFile stored(daemon.scratchPath(QStringLiteral("radio-states")));
        QVERIFY(stored.open(QIODevice::WriteOnly) && stored.write("radio_states=0x05\n") > 0);
        stored.close();
        kernel.add(QStringLiteral("wlan:soft bluetooth:soft"));
        QVERIFY(daemon.start({QStringLiteral("--rfkill-device"), kernel.path}));
    }

    // The user's consent unblocks the radios that were on, and every host
    // hears of it.
    void leavingAndEnteringOfflineMode()
    {
        OfflineMode mode;
        OfflineMode other;
        QSignalSpy status(&other, &OfflineMode::status);
        QVERIFY(!mode.currentStatus());

        // Tapped from inside requestExit()'s nested event loop.
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [&answering] {
            if (ToolkitTest::answer(M::YesButton))
                answering.stop();
        });
        answering.start(10);
        QVERIFY(mode.requestExit());
        QTRY_COMPARE(kernel.radios(), QStringLiteral("wlan bluetooth:soft"));
        QCOMPARE(kernel.requests.filter(QStringLiteral("wlan")), QStringList{QStringLiteral("wlan on")});
        QTRY_VERIFY(!status.isEmpty() && !status.last().at(0).toBool());
        QVERIFY(RadioState(RadioState::WLAN).enabled());
        QVERIFY(!RadioState(RadioState::Bluetooth).enabled());
    }
};

QTEST_MAIN(TestOfflineModeRfkill)
#include "tst_offlinemode_rfkill.moc"

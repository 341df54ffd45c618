// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// notifyd and its bus. (The library's notification suite drives what it
// shows and what a tap sends back, and stops it with SIGTERM.)
#include "commandlinetest.h"
#include "daemontest.h"

class TestNotifyd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data()
    {
        addCommandLineColumns();
        QTest::newRow("version") << QStringList{"--version"} << 0 << "^notifyd \\d+\\.\\d+\\.\\d+\n$";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "^Usage: .*notifyd(.|\n)*--address <address>";
        QTest::newRow("unknown option") << QStringList{"--verbose"} << 2 << "unknown option 'verbose'";
        QTest::newRow("no value") << QStringList{"--address"} << 2 << "missing value after '--address'";
        QTest::newRow("stray") << QStringList{"--session", "now"} << 2 << "unexpected argument 'now'";
        QTest::newRow("two buses") << QStringList{"--system", "--session"} << 2 << "--system and --session";
        QTest::newRow("address and bus") << QStringList{"--address", "unix:path=/x", "--session"} << 2 << "--address and --session";
        QTest::newRow("no bus") << QStringList{"--address", "unix:path=/nonexistent"} << 1 << "cannot connect to the bus: ";
    }

    void commandLine() { checkCommandLine(QStringLiteral(NOTIFYD_PATH)); }

    void oneInstancePerBusAndNoneWithoutIt()
    {
        PrivateBus own;
        QVERIFY(own.start());
        own.serveAsDefault();
        const QStringList arguments{"--address", own.address};
        checkOneInstanceAndNoneWithoutBus(own, QStringLiteral(NOTIFYD_PATH), arguments, arguments,
                                          QStringLiteral("org.freedesktop.Notifications"));
    }
};

QTEST_GUILESS_MAIN(TestNotifyd)
#include "tst_notifyd.moc"

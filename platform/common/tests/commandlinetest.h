// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_COMMANDLINETEST_H
#define PLATFORM_COMMANDLINETEST_H

// A tool's command line as a script sees it: the status, and what lands on
// which stream. Help and version are output (standard output, nothing on
// standard error); everything else is a diagnostic, "<tool>: ..." on
// standard error with nothing on standard output, and a usage error ends
// with the way to --help.

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

inline void addCommandLineColumns()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("expected"); // a pattern; after "<tool>: " for a diagnostic
}

inline void checkCommandLine(const QString& program)
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, expected);
    const QString tool = QFileInfo(program).fileName();
    QProcess process;
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == status, qPrintable(errors));
    QCOMPARE(status == 0 ? errors : output, QString());
    const QRegularExpression pattern(status == 0 ? expected : QStringLiteral("(?m)^%1: %2").arg(tool, expected));
    QVERIFY2(pattern.match(status == 0 ? output : errors).hasMatch(), qPrintable(output + errors));
    if (status == 2)
        QVERIFY2(errors.endsWith(QStringLiteral("\nTry '%1 --help'.\n").arg(tool)), qPrintable(errors));
}

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Styles from a theme folder of the test's own, where good sections stand
// among partial, odd and broken ones.
#include <MTheme>

#include <QtTest>

class TestTheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookup_data()
    {
        QTest::addColumn<QString>("expected"); // font size, colour, left padding
        QTest::newRow("MLabelStyle.") << "20 #102030 3";
        QTest::newRow("MLabelStyle.NoSuchStyle") << "20 #102030 3";
        QTest::newRow("MLabelStyle.Title") << "31 #aabbcc 7";
        QTest::newRow("MButtonStyle.Title") << "20 #aabbcc 0";
        QTest::newRow("MLabelStyle.TitleInverted") << "31 #f0f0f0 7";
        QTest::newRow("MLabelStyle.NoSuchInverted") << "20 #f0f0f0 3";
        QTest::newRow("MLabelStyle.Unclosed") << "40 #102030 3"; // as in CSS, the end closes what is open
        // As in CSS, a declaration whose value is no size or colour is dropped.
        QTest::newRow("MLabelStyle.Odd") << "20 #102030 3";
    }

    void lookup()
    {
        const QStringList name = QString::fromLatin1(QTest::currentDataTag()).split(QLatin1Char('.'));
        const MWidgetStyle* style = MTheme::style(qPrintable(name.at(0)), name.at(1));
        const QString fontAndColour = QStringLiteral("%1 %2").arg(style->font().pixelSize()).arg(style->color().name());
        QTEST(fontAndColour + QLatin1Char(' ') + QString::number(style->paddingLeft()), "expected");
        QCOMPARE(MTheme::style(qPrintable(name.at(0)), name.at(1)), style);
    }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"

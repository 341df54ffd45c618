// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later

// Says what the toolkit it was loaded with read: the folder of its theme and
// the English text of a common catalogue id.
#include <MLocale>
#include <MTheme>

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MLocale::setDefault(MLocale(QStringLiteral("en")));
    std::printf("%s\n%s\n", qPrintable(MTheme::themeDirectory()), qPrintable(qtTrId("qtn_comm_next")));
    return 0;
}

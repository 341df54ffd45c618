// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// Tells the user that a connection is up: a banner, which comes and goes by
// itself, and a notification, which stays in the notification area (the
// server on the session bus) until tapped or withdrawn.
#include <Pavane/SimpleInformationBanner>
#include <Pavane/SimpleNotification>

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // Once shown, the banner is the toolkit's: nothing to keep or delete.
    Pavane::SimpleInformationBanner::show(QStringLiteral("Connected to Home"),
                                          QStringLiteral("icon-m-common-wlan-inverse"));

    // Published while a handle to it lives.
    Pavane::SimpleNotification note(QStringLiteral("x-pavane.network"), QStringLiteral("Connected"),
                                    QStringLiteral("Home network"), QStringLiteral("icon-m-common-wlan"));
    if (!note.isValid()) {
        std::fprintf(stderr, "notification: no notification server\n");
        return 1;
    }
    QObject::connect(&note, &Pavane::SimpleNotification::activated, &app, [&app] {
        std::printf("tapped\n");
        app.quit();
    });
    QObject::connect(&note, &Pavane::SimpleNotification::timeouted, &app, [&app] {
        std::printf("withdrawn, untapped\n");
        app.quit();
    });
    note.setTimeout(5);
    return app.exec();
}

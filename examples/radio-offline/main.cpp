// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// A host that wants a connection while the phone may be in offline mode: it
// goes on at once when the phone is online, else asks the user to leave
// offline mode. Radio states come from devmoded on the system bus.
#include <Pavane/OfflineMode>
#include <Pavane/RadioState>

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    // The question is a toolkit dialog, and widgets need a QApplication.
    QApplication app(argc, argv);
    // Made up front, not in a slot: each new one asks devmoded again, and the
    // answer goes to every RadioState and OfflineMode. The first waits for it.
    Pavane::RadioState wlan(Pavane::RadioState::WLAN);
    Pavane::OfflineMode offline;

    const auto connectNow = [&] {
        std::printf("online; WLAN is %s\n", wlan.enabled() ? "on" : "off");
        app.quit();
    };

    // Mind the senses: currentStatus() is true when the phone is online,
    // status() says whether offline mode is on.
    if (offline.currentStatus()) {
        QTimer::singleShot(0, &app, connectNow);
    } else {
        QObject::connect(&offline, &Pavane::OfflineMode::status, &app, [&](bool offlineMode) {
            if (!offlineMode) {
                connectNow();
            } else {
                std::printf("the phone stays offline\n");
                app.exit(1);
            }
        });
        // "Exit offline mode?" On consent devmoded switches the radio on and
        // status(false) follows; a refusal gives status(true).
        offline.requestExitAsync();
    }

    QTimer::singleShot(60000, &app, [&app] {
        std::printf("nobody answered\n");
        app.exit(2);
    });
    return app.exec();
}

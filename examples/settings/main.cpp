// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// Reads, writes and watches an access point's record in the connection-settings
// store (the user's database, or the one $NETPREFS_DB names), then removes it.
#include <Pavane/ConnectivitySettings>

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using Pavane::ConnectivitySettings;

int main(int argc, char** argv)
{
    // Changes are reported from the event loop, which must run on GLib (Qt's
    // default on Linux).
    QCoreApplication app(argc, argv);
    const QString ssidKey = QStringLiteral("wlan_ssid");
    ConnectivitySettings record(ConnectivitySettings::IAP, QStringLiteral("example"));

    // Every change of the record, by this process or another one (try
    // `netprefs set iap example wlan_ssid string other` meanwhile).
    QObject::connect(&record, &ConnectivitySettings::valueChanged, &app, [&](const QString& key) {
        std::printf("%s is now \"%s\"\n", qPrintable(key), qPrintable(record.get(key).toString()));
        if (key == ssidKey)
            app.quit();
    });

    // An invalid variant means that nothing is stored under the key.
    const QVariant before = record.get(ssidKey);
    std::printf("%s was %s\n", qPrintable(ssidKey), before.isValid() ? qPrintable(before.toString()) : "not set");

    // 0 on success, else the store's error code.
    const int result = record.set(ssidKey, QStringLiteral("home-net"));
    if (result != 0) {
        std::fprintf(stderr, "settings: the store refused the value (%d)\n", result);
        return 1;
    }

    QTimer::singleShot(10000, &app, [&app] {
        std::fprintf(stderr, "settings: no change reported\n");
        app.exit(1);
    });
    const int status = app.exec();
    record.remove();
    return status;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A host in miniature: it includes the installed headers, links the installed
// library and uses it.
#include <Pavane/ConnectivityDialogRequest>
#include <Pavane/ConnectivitySettings>
#include <Pavane/DBusDispatcher>
#include <Pavane/HeaderPanel>
#include <Pavane/pavanedlg_version.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

// The headers' version is the one the package was found with, and it orders
// as hosts compare it in the preprocessor.
constexpr bool sameText(const char* a, const char* b)
{
    return *a == *b && (*a == '\0' || sameText(a + 1, b + 1));
}
static_assert(sameText(PAVANEDLG_VERSION_STRING, CONSUMER_PACKAGE_VERSION),
              "the headers' version differs from the package's");
static_assert(PAVANEDLG_VERSION
                  == PAVANEDLG_VERSION_CHECK(PAVANEDLG_VERSION_MAJOR, PAVANEDLG_VERSION_MINOR,
                                             PAVANEDLG_VERSION_PATCH),
              "the version number is not made of its parts");
static_assert(PAVANEDLG_VERSION_CHECK(0, 1, 1) > PAVANEDLG_VERSION_CHECK(0, 1, 0)
                  && PAVANEDLG_VERSION_CHECK(0, 2, 0) > PAVANEDLG_VERSION_CHECK(0, 1, 255)
                  && PAVANEDLG_VERSION_CHECK(1, 0, 0) > PAVANEDLG_VERSION_CHECK(0, 255, 255),
              "versions do not order");
#if PAVANEDLG_VERSION < PAVANEDLG_VERSION_CHECK(0, 1, 0)
#error "the package was found for 0.1, but its headers are older"
#endif

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Pavane::ConnectivityDialogRequest request(QStringLiteral("connect"), {1},
                                              QStringLiteral(":1.1"));
    bool completed = false;
    QObject::connect(&request, &Pavane::ConnectivityDialogRequest::completed,
                     [&] { completed = true; });
    request.complete(QStringLiteral("connected"), {true});
    const bool dispatcherKnown =
        Pavane::DBusDispatcher::staticMetaObject.indexOfSignal(
            "callReply(QString,QList<QVariant>,QString)") >= 0;
    // The settings store is a library of its own, which this one finds
    // beside itself when the first record is opened.
    QTemporaryDir store;
    qputenv("NETPREFS_DB", store.filePath(QStringLiteral("netprefs.db")).toUtf8());
    Pavane::ConnectivitySettings settings(Pavane::ConnectivitySettings::IAP, QStringLiteral("home"));
    const bool stored = settings.set(QStringLiteral("channel"), 6) == 0
        && settings.get(QStringLiteral("channel")) == QVariant(6);
    // The toolkit comes with the library, without the host naming it.
    Pavane::HeaderPanel header(QStringLiteral("Networks"));
    const bool shown = header.text() == QLatin1String("Networks");

    if (!completed || request.state() != Pavane::ConnectivityDialogRequest::Completed
        || !dispatcherKnown || !stored || !shown) {
        std::fprintf(stderr, "consumer: the library did not behave\n");
        return 1;
    }
    std::printf("consumer: ok\n");
    return 0;
}

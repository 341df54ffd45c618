// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
// The demo host of libpavanedlg: see README.md, "Two commands".
#include "demohost.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char** argv)
{
    // Without a display there is nobody to answer: render offscreen and let
    // the autopilot answer. Decided before the application exists, as the
    // platform plugin is chosen then.
    bool headless = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    for (int i = 1; i < argc; ++i)
        headless = headless || QByteArray(argv[i]) == "--headless";
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pavane-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Walks a connectivity dialog's road through libpavanedlg and writes a picture of every step."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("headless"), QStringLiteral("Render offscreen and answer every step.")});
    parser.addOption({QStringLiteral("output"), QStringLiteral("The folder for the pictures and index.html."),
                      QStringLiteral("dir"), QDir::current().filePath(QStringLiteral("pavane-demo"))});
    parser.addOption({QStringLiteral("transcript"),
                      QStringLiteral("A file in the output folder that index.html links as the run's transcript."),
                      QStringLiteral("name")});
    parser.process(app);

    DemoHost::Options options;
    options.headless = headless;
    options.outputDirectory = parser.value(QStringLiteral("output"));
    options.transcriptFile = parser.value(QStringLiteral("transcript"));
    DemoHost host(options);
    return host.run();
}

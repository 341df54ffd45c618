// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#ifndef PAVANE_DEMO_DEMOHOST_H
#define PAVANE_DEMO_DEMOHOST_H

#include "autopilot.h"
#include "gallery.h"

#include <QDBusError>
#include <QObject>
#include <QStringList>

#include <functional>

class MLabel;
class MSceneWindow;
class MWidget;
class MWindow;
class QGraphicsLinearLayout;

#include <memory>

namespace Pavane {
class ConnectivityDialogRequest;
class DBusDispatcher;
class RadioState;
class SimpleCheckBoxLabel;
}

// A dialog service in miniature: it walks the library's typical road, from
// a connection wanted while offline to a contact ready to be sent, and
// checks at every step that the expected outcome was reached. With a person
// at the screen it waits for them; headless, the autopilot answers.
class DemoHost : public QObject
{
    Q_OBJECT

public:
    struct Options {
        bool headless = false;
        QString outputDirectory;
        QString transcriptFile;
    };

    explicit DemoHost(const Options& options);
    ~DemoHost() override;

    // Walks every step; 0 when all reached their outcome.
    int run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void displayTurnedOn();
    void displayFailed(const QDBusError& error);

private:
    bool showHome();
    bool leaveOfflineMode();
    bool connectToNetwork();
    bool announceConnection();
    bool sendContact();

    void begin(const QString& title);
    bool check(bool reached, const QString& failure);
    // Waits for @p done: ten seconds headless, as long as a person needs otherwise.
    bool wait(const std::function<bool()>& done);
    void picture(MWindow* window, const QString& title, const QString& caption);
    void addSection(const QString& caption, MWidget* content);
    Pavane::SimpleCheckBoxLabel* radioRow(Pavane::RadioState* radio, const QString& text, const QString& info);
    void writeStoreWrites() const;

    Options options;
    Gallery gallery;
    MWindow* window = nullptr;
    Autopilot pilot;
    MSceneWindow* home = nullptr;
    QGraphicsLinearLayout* sections = nullptr;
    MLabel* statusLine = nullptr;
    Pavane::RadioState* master = nullptr;
    Pavane::RadioState* wlan = nullptr;
    Pavane::RadioState* bluetooth = nullptr;
    Pavane::DBusDispatcher* devmode = nullptr;
    std::unique_ptr<Pavane::ConnectivityDialogRequest> request;

    QString currentStep;
    int stepsFailed = 0;
    bool closed = false;
    enum { DisplayUnknown, DisplayOn, DisplayError } display = DisplayUnknown;
    QString networkName;
    QString recordId;
    QStringList storeWrites;
};

#endif

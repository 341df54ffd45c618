// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_DEVMODESERVICE_H
#define DEVMODED_DEVMODESERVICE_H

#include "statefile.h"

class RfkillRadios;

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QVariant>

// The device-mode daemon's objects on the bus: the radio, lock and display
// requests, the radio states indication, and a read-only inspection interface
// that tells what the daemon last received.
//
// Every message below "/com/zelkor/devmode" comes here, so that argument
// types can be checked by hand and answered with InvalidArgs.
class DevModeService : public QDBusVirtualObject
{
    Q_OBJECT

public:
    struct InitialState
    {
        unsigned radioStates;
        QString tklockMode;
        QString displayState;
    };

    // With @p radios, the word is theirs (and the initial one only what the
    // state file held); they must outlive the service.
    DevModeService(const QDBusConnection& bus, const StateFile& stateFile,
                   const InitialState& initial, RfkillRadios* radios = nullptr,
                   QObject* parent = nullptr);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    static bool isKnownTklockMode(const QString& mode);

private:
    // What the daemon last received for one member, for the inspection
    // interface.
    struct Received
    {
        uint count = 0;
        bool replyExpected = false;
        QList<QVariant> args;
    };

    QDBusMessage handleRadioCall(const QDBusMessage& message);
    QDBusMessage handleModeCall(const QDBusMessage& message);
    QDBusMessage handleInspectCall(const QDBusMessage& message);
    void record(const QDBusMessage& message);
    void changeRadioStates(unsigned states, unsigned mask, const QString& sender);
    void radiosChanged();
    void takeRadioStates(unsigned next, const QString& cause);
    void announceRadioStates();

    QDBusConnection bus;
    StateFile stateFile;
    RfkillRadios* radios;
    unsigned radioStates;
    // What the state file holds: the word, or with radios their wish.
    unsigned storedRadioStates;
    QString tklockMode;
    QString displayState;
    QHash<QString, Received> received;
};

#endif

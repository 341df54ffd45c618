// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_RFKILLRADIOS_H
#define DEVMODED_RFKILLRADIOS_H

#include "rfkilleventreader.h"
#include "rfkillradiomodel.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

// The kernel's radio kill switch device (/dev/rfkill) behind the radio
// states word: reads its events, writes the requests' change events, and
// says when what it reports changed the word.
class RfkillRadios : public QObject
{
    Q_OBJECT

public:
    static QString defaultPath() { return QStringLiteral("/dev/rfkill"); }

    explicit RfkillRadios(QObject* parent = nullptr);
    ~RfkillRadios() override;

    // Opens the device and reads the radios it lists. Records are
    // @p recordSize bytes long, or, with 0, as long as the kernel agrees to
    // (a device that is not the kernel's keeps the shortest). 0 when done,
    // otherwise the errno; ENODATA when the device ended at once.
    int open(const QString& path, int recordSize, unsigned storedWord);
    // Writes what starting needs (offline mode kept across a restart) and
    // watches the device from now on; for the owner of the bus name only.
    void activate();

    QString path() const { return devicePath; }
    int recordSize() const { return reader.recordSize(); }
    unsigned word() const { return model.word(); }
    unsigned wish() const { return model.wish(); }
    // Writes the change events of a "req_radio_states_change".
    void request(unsigned states, unsigned mask);

Q_SIGNALS:
    // Events from the device changed word() or wish().
    void changed();

private:
    // Reads what is there; false (errno set, 0 at the end) when the device
    // cannot be read any more.
    bool readAvailable(QByteArray* bytes);
    void readEvents();
    void send(const QList<RfkillEvent>& events);
    void stopWatching(int error);

    QString devicePath;
    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    RfkillEventReader reader;
    RfkillRadioModel model;
    QList<RfkillEvent> startWrites;
};

#endif

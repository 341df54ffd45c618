// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_TESTS_FAKERFKILL_H
#define DEVMODED_TESTS_FAKERFKILL_H

// The kernel's radio kill switch device as a test holds it: a raw
// pseudo-terminal whose other end the daemon opens. Like the kernel, it
// applies the change requests it reads and tells of each radio they changed.
// Radios are written "wlan", "nfc:hard", "wwan:soft:hard", numbered as added.

#include <QMap>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>

#include <cstring>
#include <fcntl.h>
#include <linux/rfkill.h>
#include <termios.h>
#include <unistd.h>

class FakeRfkill : public QObject
{
public:
    FakeRfkill()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        path = QString::fromLocal8Bit(::ptsname(master));
        // Held open, so that the terminal stays while no daemon has it.
        keeper = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw;
        ::tcgetattr(keeper, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(keeper, TCSANOW, &raw);
        notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &FakeRfkill::answer);
    }
    ~FakeRfkill() override
    {
        hangUp();
        ::close(keeper);
    }

    // The device goes away under the daemon.
    void hangUp()
    {
        delete notifier;
        notifier = nullptr;
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    // Adds radios, listed to a daemon that opens the device later.
    void add(const QString& radios)
    {
        QByteArray bytes;
        for (const QString& radio : radios.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList parts = radio.split(QLatin1Char(':'));
            const quint32 index = nextIndex++;
            state.insert(index, {typeNames.key(parts[0]), parts.contains("soft"), parts.contains("hard")});
            bytes += record(index, RFKILL_OP_ADD);
        }
        send(bytes);
    }

    // Acts as another program or a switch would, each of the '+'-joined
    // actions in one write: "soft 0", "hard 0", "on 0" (neither), "del 1",
    // "add nfc:soft", or "nonsense" (records no kernel sends).
    void act(const QString& actions, bool split = false)
    {
        QByteArray bytes;
        for (const QString& action : actions.split(QLatin1Char('+'))) {
            const QStringList words = action.trimmed().split(QLatin1Char(' '));
            const quint32 index = words.value(1).toUInt();
            if (words[0] == QLatin1String("add")) {
                add(words[1]);
            } else if (words[0] == QLatin1String("del")) {
                bytes += record(index, RFKILL_OP_DEL);
                state.remove(index);
            } else if (words[0] == QLatin1String("nonsense")) {
                bytes += raw(7, RFKILL_TYPE_ALL, RFKILL_OP_ADD, 0) + raw(7, RFKILL_TYPE_WLAN, 9, 1)
                    + raw(7, RFKILL_TYPE_WLAN, RFKILL_OP_CHANGE_ALL, 1) + raw(0xffffffff, 200, RFKILL_OP_DEL, 0);
            } else {
                state[index].soft = words[0] == QLatin1String("soft");
                state[index].hard = words[0] == QLatin1String("hard");
                bytes += record(index, RFKILL_OP_CHANGE);
            }
        }
        send(bytes, split);
    }

    // The radios as the kernel has them, in their order.
    QString radios() const
    {
        QStringList result;
        for (const Radio& radio : state)
            result.append(typeNames.value(radio.type) + (radio.soft ? ":soft" : "") + (radio.hard ? ":hard" : ""));
        return result.join(QLatin1Char(' '));
    }

    QString path;
    // Longer records carry the hard block's reasons after eight bytes.
    int recordSize = int(RFKILL_EVENT_SIZE_V1);
    // The daemon's requests, as "wlan on" or "all soft".
    QStringList requests;

private:
    struct Radio { quint8 type; bool soft; bool hard; };

    QByteArray raw(quint32 index, quint8 type, quint8 operation, quint8 soft, quint8 hard = 0) const
    {
        QByteArray bytes(recordSize, '\x01');
        std::memcpy(bytes.data(), &index, sizeof index);
        const char tail[] = {char(type), char(operation), char(soft), char(hard)};
        std::memcpy(bytes.data() + 4, tail, sizeof tail);
        return bytes;
    }
    QByteArray record(quint32 index, quint8 operation) const
    {
        const Radio& radio = state[index];
        return raw(index, radio.type, operation, radio.soft, radio.hard);
    }

    // A split write lets the daemon read the first part alone first.
    void send(const QByteArray& bytes, bool split = false)
    {
        const int first = split ? bytes.size() / 2 + 3 : bytes.size();
        if (!bytes.isEmpty() && ::write(master, bytes.constData(), size_t(first)) == first && split) {
            ::usleep(20000);
            ::write(master, bytes.constData() + first, size_t(bytes.size() - first));
        }
    }

    // What the kernel does with the change events written to the device.
    void answer()
    {
        char buffer[4096];
        const ssize_t size = ::read(master, buffer, sizeof buffer);
        incoming.append(buffer, int(qMax<ssize_t>(size, 0)));
        QByteArray changes;
        for (; incoming.size() >= int(RFKILL_EVENT_SIZE_V1); incoming.remove(0, int(RFKILL_EVENT_SIZE_V1))) {
            const quint8 type = quint8(incoming.at(4));
            const bool soft = incoming.at(6) != 0;
            requests.append((type == RFKILL_TYPE_ALL ? QStringLiteral("all") : typeNames.value(type))
                            + (soft ? " soft" : " on"));
            if (incoming.at(5) != RFKILL_OP_CHANGE_ALL)
                continue;
            for (auto radio = state.begin(); radio != state.end(); ++radio) {
                if ((type == RFKILL_TYPE_ALL || radio->type == type) && radio->soft != soft) {
                    radio->soft = soft;
                    changes += record(radio.key(), RFKILL_OP_CHANGE);
                }
            }
        }
        send(changes);
    }

    const QMap<quint8, QString> typeNames{{RFKILL_TYPE_WLAN, "wlan"}, {RFKILL_TYPE_BLUETOOTH, "bluetooth"},
                                          {RFKILL_TYPE_WWAN, "wwan"}, {RFKILL_TYPE_GPS, "gps"},
                                          {RFKILL_TYPE_NFC, "nfc"}};
    int master = -1;
    int keeper = -1;
    QSocketNotifier* notifier = nullptr;
    QMap<quint32, Radio> state;
    quint32 nextIndex = 0;
    QByteArray incoming;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "rfkillradios.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/rfkill.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A batch of reads per wake-up: a device that never stops talking must not
// keep the daemon from its bus.
constexpr int ReadsPerWakeUp = 64;

} // namespace

RfkillRadios::RfkillRadios(QObject* parent)
    : QObject(parent)
{
}

RfkillRadios::~RfkillRadios()
{
    if (fd >= 0)
        ::close(fd);
}

int RfkillRadios::open(const QString& path, int recordSize, unsigned storedWord)
{
    devicePath = path;
    // A terminal standing in for the device must not become ours.
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno;
    if (recordSize == 0) {
        // Kernels that know longer records send them only when asked, and
        // then as long as asked at most; older ones and other devices refuse.
        __u32 size = sizeof(rfkill_event_ext);
        recordSize = ::ioctl(fd, RFKILL_IOCTL_MAX_SIZE, &size) == 0 ? int(size) : RFKILL_EVENT_SIZE_V1;
    }
    reader = RfkillEventReader(recordSize);
    // The kernel lists every radio as it opens the device.
    QByteArray bytes;
    if (!readAvailable(&bytes)) {
        const int error = errno == 0 ? ENODATA : errno;
        ::close(fd);
        fd = -1;
        return error;
    }
    startWrites = model.start(reader.feed(bytes), storedWord);
    return 0;
}

void RfkillRadios::activate()
{
    send(startWrites);
    startWrites.clear();
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &RfkillRadios::readEvents);
}

bool RfkillRadios::readAvailable(QByteArray* bytes)
{
    char buffer[4096];
    for (int reads = 0; reads < ReadsPerWakeUp; ++reads) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            bytes->append(buffer, int(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (got == 0)
            errno = 0;
        return false;
    }
    return true;
}

void RfkillRadios::readEvents()
{
    QByteArray bytes;
    const bool readable = readAvailable(&bytes);
    const int error = errno;
    const unsigned word = model.word();
    const unsigned wish = model.wish();
    send(model.apply(reader.feed(bytes)));
    if (!readable)
        stopWatching(error);
    if (model.word() != word || model.wish() != wish)
        Q_EMIT changed();
}

void RfkillRadios::request(unsigned states, unsigned mask)
{
    send(model.request(states, mask));
}

void RfkillRadios::send(const QList<RfkillEvent>& events)
{
    for (const RfkillEvent& event : events) {
        if (fd < 0)
            return;
        const QByteArray record = RfkillEventReader::encode(event);
        ssize_t written;
        do
            written = ::write(fd, record.constData(), size_t(record.size()));
        while (written < 0 && errno == EINTR);
        if (written != record.size())
            qWarning("cannot switch radios through %s: %s", qPrintable(devicePath),
                     written < 0 ? std::strerror(errno) : "short write");
    }
}

void RfkillRadios::stopWatching(int error)
{
    // A device that went away reports itself readable for ever: it is left
    // alone, and the radios keep the states last known.
    qWarning("the radio switches at %s went away (%s); radio states stay as they are",
             qPrintable(devicePath), error == 0 ? "end of file" : std::strerror(error));
    notifier->setEnabled(false);
    notifier->deleteLater();
    notifier = nullptr;
    ::close(fd);
    fd = -1;
    model.forgetRadios();
}

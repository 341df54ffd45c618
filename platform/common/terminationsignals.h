// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_TERMINATIONSIGNALS_H
#define PLATFORM_TERMINATIONSIGNALS_H

// SIGTERM and SIGINT end a daemon's event loop cleanly: they are blocked in
// every thread (so blockTerminationSignals() must run before Qt starts any)
// and read from a signalfd.

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

inline int blockTerminationSignals()
{
    sigset_t termination;
    sigemptyset(&termination);
    sigaddset(&termination, SIGTERM);
    sigaddset(&termination, SIGINT);
    if (sigprocmask(SIG_BLOCK, &termination, nullptr) != 0)
        return -1;
    return signalfd(-1, &termination, SFD_CLOEXEC | SFD_NONBLOCK);
}

// False when the signals could not be blocked.
inline bool quitOnTerminationSignals(QCoreApplication& app, int fd)
{
    if (fd < 0)
        return false;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app, fd] {
        signalfd_siginfo info;
        if (read(fd, &info, sizeof info) == sizeof info) {
            qInfo("signal %u received, leaving", info.ssi_signo);
            app.quit();
        }
    });
    return true;
}

#endif

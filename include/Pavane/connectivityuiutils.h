// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_CONNECTIVITYUIUTILS_H
#define PAVANE_CONNECTIVITYUIUTILS_H

#include <Pavane/pavanedlg_export.h>

class QObject;

namespace Pavane {

/**
 * Requests to the device-mode daemon that a connectivity dialog makes before
 * it shows itself. Each sends one method call on the system bus and returns at
 * once; nothing is reported unless a receiver is given.
 *
 * The calls go through QtDBus's system-bus connection; without a bus they are
 * dropped. Use them on the GUI thread.
 */
class PAVANEDLG_EXPORT ConnectivityUIUtils
{
public:
    /** Holds nothing: every function is static. */
    ConnectivityUIUtils() = default;
    /** Virtual, for classes that derive from it. */
    virtual ~ConnectivityUIUtils();

    /** Releases the touch-screen lock; no reply is awaited. */
    static void unlockScreen();

    /** Turns the display on; no reply is awaited. */
    static void unblankDisplay();

    /**
     * Turns the display on. When @p receiver, @p returnMethod and
     * @p errorMethod are all given (as for QDBusConnection::callWithCallback),
     * the reply goes to @p returnMethod and an error or time-out to
     * @p errorMethod, later, through the event loop; otherwise no reply is
     * awaited. @p timeout is in milliseconds, -1 for the D-Bus default.
     * The method names are made with @c SLOT() (or @c SIGNAL()).
     */
    static void unblankDisplay(QObject* receiver, const char* returnMethod,
                               const char* errorMethod, int timeout = -1);
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_GLIBMAINLOOP_P_H
#define PAVANE_GLIBMAINLOOP_P_H

#include <dbus/dbus.h>

namespace Pavane {

// Lets the default GLib main context drive @p connection: its watches,
// time-outs and dispatching. Kept apart because GLib's headers and Qt's
// keywords do not mix.
void attachToDefaultMainContext(DBusConnection* connection);

} // namespace Pavane

#endif

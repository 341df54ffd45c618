// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "dbus/glibmainloop_p.h"

#include <dbus/dbus-glib-lowlevel.h>

namespace Pavane {

void attachToDefaultMainContext(DBusConnection* connection)
{
    dbus_connection_setup_with_g_main(connection, nullptr);
}

} // namespace Pavane

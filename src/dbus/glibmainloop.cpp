#include "dbus/glibmainloop_p.h"

#include <dbus/dbus-glib-lowlevel.h>

namespace Pavane {

void attachToDefaultMainContext(DBusConnection* connection)
{
    dbus_connection_setup_with_g_main(connection, nullptr);
}

} // namespace Pavane

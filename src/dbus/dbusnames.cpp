// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "dbus/dbusnames_p.h"

#include <dbus/dbus.h>

namespace Pavane {
namespace DBusNames {

// QByteArray::constData() is never null and always terminated, and a name with
// an embedded NUL would be cut short by libdbus, so such names are refused too.
static bool wholeName(const QByteArray& name)
{
    return !name.isEmpty() && !name.contains('\0');
}

bool isValidBusName(const QByteArray& name)
{
    return wholeName(name) && dbus_validate_bus_name(name.constData(), nullptr);
}

bool isValidObjectPath(const QByteArray& path)
{
    return wholeName(path) && dbus_validate_path(path.constData(), nullptr);
}

bool isValidInterface(const QByteArray& interface)
{
    return wholeName(interface) && dbus_validate_interface(interface.constData(), nullptr);
}

bool isValidMember(const QByteArray& member)
{
    return wholeName(member) && dbus_validate_member(member.constData(), nullptr);
}

} // namespace DBusNames
} // namespace Pavane

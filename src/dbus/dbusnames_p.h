// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DBUSNAMES_P_H
#define PAVANE_DBUSNAMES_P_H

#include <QByteArray>

namespace Pavane {
namespace DBusNames {

// libdbus aborts the process when handed a malformed name, so every name that
// comes from a caller is checked here before it reaches libdbus.
bool isValidBusName(const QByteArray& name);
bool isValidObjectPath(const QByteArray& path);
bool isValidInterface(const QByteArray& interface);
bool isValidMember(const QByteArray& member);

} // namespace DBusNames
} // namespace Pavane

#endif

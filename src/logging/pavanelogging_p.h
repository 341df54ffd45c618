// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef PAVANE_PAVANELOGGING_P_H
#define PAVANE_PAVANELOGGING_P_H

#include <QLoggingCategory>

// One category per subsystem, so that a host's QT_LOGGING_RULES (or
// QLoggingCategory::setFilterRules()) can silence or pick the library's
// messages, e.g. "pavane.*=false" or "pavane.dbus.debug=false". Every level
// is on by default: without rules, the messages are what they always were.
// Usable before a QCoreApplication exists; the environment's rules apply
// from its construction on.
namespace Pavane {

Q_DECLARE_LOGGING_CATEGORY(lcDBus)
Q_DECLARE_LOGGING_CATEGORY(lcDevice)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
Q_DECLARE_LOGGING_CATEGORY(lcSheet)
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
Q_DECLARE_LOGGING_CATEGORY(lcNotification)
Q_DECLARE_LOGGING_CATEGORY(lcContent)

} // namespace Pavane

#endif

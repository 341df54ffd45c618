// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "logging/pavanelogging_p.h"

namespace Pavane {

// Without a level of their own the categories let debug messages through,
// as the library's plain qDebug() did.
Q_LOGGING_CATEGORY(lcDBus, "pavane.dbus")
Q_LOGGING_CATEGORY(lcDevice, "pavane.device")
Q_LOGGING_CATEGORY(lcSettings, "pavane.settings")
Q_LOGGING_CATEGORY(lcEditor, "pavane.editor")
Q_LOGGING_CATEGORY(lcSheet, "pavane.sheet")
Q_LOGGING_CATEGORY(lcWidgets, "pavane.widgets")
Q_LOGGING_CATEGORY(lcNotification, "pavane.notification")
Q_LOGGING_CATEGORY(lcContent, "pavane.content")

} // namespace Pavane

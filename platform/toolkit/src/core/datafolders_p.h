// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DATAFOLDERS_P_H
#define DATAFOLDERS_P_H

#include <QString>
#include <QStringList>

// Where the toolkit looks for a folder of its data (@p subfolder of its
// share folder, "themes/default" or "translations"), first found first: the
// folder the environment variable names, the one beside the library's own
// file (so that a moved or staged prefix keeps its data), the one fixed at
// configure time, and the copy built into the library. Folders may be
// missing or unreadable: callers take the first that gives them something.
QStringList dataFolders(const char* environmentVariable, const QString& subfolder, const QString& builtIn);

#endif

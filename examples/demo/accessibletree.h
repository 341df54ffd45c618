// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#ifndef PAVANE_DEMO_ACCESSIBLETREE_H
#define PAVANE_DEMO_ACCESSIBLETREE_H

#include <QList>
#include <QString>

class QWidget;

// What a screen reader finds in @p windows, one node per line, indented by
// depth: role, "name", description, value and the states that are set.
// Hidden nodes are left out with everything below them.
QString accessibleTree(const QList<QWidget*>& windows);

#endif

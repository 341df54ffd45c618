// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MTEXTEDITMODEL_H
#define MTEXTEDITMODEL_H

// The modes of a text field.
class MTextEditModel
{
public:
    enum LineMode { SingleLine = 0, MultiLine = 1 };
    enum EchoMode { Normal = 0, NoEcho = 1, Password = 2, PasswordEchoOnEdit = 3 };
};

#endif

<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-FileCopyrightText: 2026 The Pavane developers -->
<!-- SPDX-License-Identifier: LGPL-2.1-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="qtn_comm_next">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="qtn_comm_command_done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
</context>
</TS>

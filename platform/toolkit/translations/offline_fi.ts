<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-FileCopyrightText: 2026 The Pavane developers -->
<!-- SPDX-License-Identifier: LGPL-2.1-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="fi">
<context>
    <name></name>
    <message id="qtn_offl_exiting">
        <source>Exit offline mode?</source>
        <translation>Poistutaanko lentotilasta?</translation>
    </message>
</context>
</TS>

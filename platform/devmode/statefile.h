// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef DEVMODED_STATEFILE_H
#define DEVMODED_STATEFILE_H

#include <QByteArray>
#include <QString>

// The radio states word kept across restarts, in a small text file:
//
//   # devmoded state
//   radio_states=0x1f
//
// Lines starting with '#' and blank lines are ignored; the value is a C
// integer literal (hex, octal or decimal) within 0..0x1f.
class StateFile
{
public:
    explicit StateFile(const QString& path);

    QString path() const { return filePath; }

    // The stored word; all radios on, with a warning, when the file is missing
    // or damaged. Anything but a regular file of at most 4 KiB is damaged.
    unsigned load() const;
    // Replaces the file atomically; false (with a warning) when it cannot.
    bool save(unsigned radioStates) const;

    // $STATE_DIRECTORY/radio-states when systemd gives the daemon a state
    // folder, else /var/lib/devmoded/radio-states for root and
    // $XDG_STATE_HOME/devmoded/radio-states (~/.local/state) for others.
    static QString defaultPath();

    // Reads a state file's content into @p radioStates; false when it holds
    // no usable word.
    static bool parse(const QByteArray& content, unsigned* radioStates);

private:
    QString filePath;
};

#endif

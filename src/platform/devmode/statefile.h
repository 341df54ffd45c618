#ifndef DEVMODED_STATEFILE_H
#define DEVMODED_STATEFILE_H

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
    // or damaged.
    unsigned load() const;
    // Replaces the file atomically; false (with a warning) when it cannot.
    bool save(unsigned radioStates) const;

    // /var/lib/devmoded/radio-states for root, else under $XDG_STATE_HOME
    // (~/.local/state).
    static QString defaultPath();

private:
    QString filePath;
};

#endif

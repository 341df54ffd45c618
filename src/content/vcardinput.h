// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_VCARDINPUT_H
#define PAVANE_VCARDINPUT_H

#include <QByteArray>

namespace Pavane {

// What QtVersit may safely be given of vCard data from outside: the
// library's vCard files and the contact store's cards both pass here.
namespace VCardInput {

// QtVersit takes time that grows with the square of a line's length (a
// second for a line of 1 MiB); a real card, picture included, is far smaller.
constexpr int MaxSize = 1 << 20;
// QtVersit reads every "BEGIN" as a card nested in the one before, on the
// stack: some ten thousand of them overflow it.
constexpr int MaxBegins = 100;

// @p data without what goes beyond MaxSize bytes, and without everything
// from the line of the "BEGIN" after the first MaxBegins on. A "BEGIN" is
// counted in either case and across anything that may stand between its
// letters once lines are unfolded or UTF-16 is read as bytes, so that
// QtVersit never finds more of them than are counted.
inline QByteArray bounded(const QByteArray& data)
{
    static const char Begin[] = "begin";
    const int size = qMin(data.size(), MaxSize);
    int lineStart = 0;
    int wordLineStart = 0;
    int matched = 0;
    int begins = 0;
    for (int i = 0; i < size; ++i) {
        const char c = data.at(i);
        if (c == '\n' || c == '\r')
            lineStart = i + 1;
        if (c == '\0' || c == '\n' || c == '\r' || c == ' ' || c == '\t')
            continue;
        const char lower = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
        if (lower != Begin[matched])
            matched = 0;
        if (lower != Begin[matched])
            continue;
        if (matched == 0)
            wordLineStart = lineStart;
        if (++matched < int(sizeof Begin) - 1)
            continue;
        matched = 0;
        if (++begins > MaxBegins)
            return data.left(wordLineStart);
    }
    return data.left(size);
}

} // namespace VCardInput
} // namespace Pavane

#endif

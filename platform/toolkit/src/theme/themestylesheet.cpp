// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themestylesheet.h"

#include <QFile>
#include <QVarLengthArray>

#include <utility>

namespace {

// The text without its comments; as in CSS, a comment left open runs to the
// end of the file. One pass, so that hostile files full of unterminated
// comments cost no more than their length.
QString withoutComments(const QString& text)
{
    const QChar* const data = text.constData();
    const int size = text.size();
    const auto find = [data, size](QLatin1Char first, QLatin1Char second, int from) {
        for (int i = from; i + 1 < size; ++i) {
            if (data[i] == first && data[i + 1] == second)
                return i;
        }
        return -1;
    };
    int open = find(QLatin1Char('/'), QLatin1Char('*'), 0);
    if (open < 0)
        return text;
    QString result;
    result.reserve(size);
    int i = 0;
    while (open >= 0) {
        result.append(data + i, open - i);
        const int end = find(QLatin1Char('*'), QLatin1Char('/'), open + 2);
        if (end < 0)
            return result;
        // A comment separates what stands around it.
        result += QLatin1Char(' ');
        i = end + 2;
        open = find(QLatin1Char('/'), QLatin1Char('*'), i);
    }
    result.append(data + i, size - i);
    return result;
}

} // namespace

void ThemeStyleSheet::parse(const QString& text)
{
    // One scan over the text, with a string made only for each name and
    // value kept: the theme is read before an application's first frame.
    const QString rules = withoutComments(text);
    const QChar* const data = rules.constData();
    const int size = rules.size();
    const auto trimmed = [&rules](int from, int to) { return QStringRef(&rules, from, to - from).trimmed(); };
    QVarLengthArray<std::pair<QString, QString>, 16> declarations;
    int position = 0;
    for (;;) {
        // A stray '}' before the block belongs to nothing: the selectors
        // start after it.
        int from = position;
        int open = position;
        while (open < size && data[open] != QLatin1Char('{')) {
            if (data[open] == QLatin1Char('}'))
                from = open + 1;
            ++open;
        }
        if (open >= size)
            break;
        // As in CSS, the end of the file closes a block left open.
        int close = open + 1;
        while (close < size && data[close] != QLatin1Char('}'))
            ++close;

        declarations.clear();
        for (int part = open + 1; part <= close;) {
            int end = part;
            int colon = -1;
            while (end < close && data[end] != QLatin1Char(';')) {
                if (colon < 0 && data[end] == QLatin1Char(':'))
                    colon = end;
                ++end;
            }
            if (colon > part) {
                const QStringRef name = trimmed(part, colon);
                if (!name.isEmpty())
                    declarations.append({name.toString(), trimmed(colon + 1, end).toString()});
            }
            part = end + 1;
        }
        for (int selector = from; selector <= open;) {
            int end = selector;
            while (end < open && data[end] != QLatin1Char(','))
                ++end;
            const QStringRef name = trimmed(selector, end);
            if (!name.isEmpty()) {
                // Later declarations win, within a block as across blocks.
                Declarations& rule = m_rules[name.toString()];
                for (const auto& declaration : declarations)
                    rule.insert(declaration.first, declaration.second);
            }
            selector = end + 1;
        }
        position = close + 1;
    }
}

bool ThemeStyleSheet::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("MTheme: cannot read %s", qPrintable(path));
        return false;
    }
    const QByteArray content = file.read(MaximumFileSize + 1);
    if (content.size() > MaximumFileSize) {
        qWarning("MTheme: %s is too large to be a theme file", qPrintable(path));
        return false;
    }
    parse(QString::fromUtf8(content));
    return true;
}

bool ThemeStyleSheet::contains(const QString& selector) const
{
    return m_rules.contains(selector);
}

ThemeStyleSheet::Declarations ThemeStyleSheet::declarations(const QString& selector) const
{
    return m_rules.value(selector);
}

bool ThemeStyleSheet::isEmpty() const
{
    return m_rules.isEmpty();
}

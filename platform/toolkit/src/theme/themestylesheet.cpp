// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themestylesheet.h"

#include <QFile>

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
    // Only the selectors are taken now; a block's declarations are read when
    // a selector of it is asked for, as an application uses a few of the
    // theme's sections before its first frame.
    m_texts.append(withoutComments(text));
    m_declarations.clear();
    const int textIndex = m_texts.size() - 1;
    const QString& rules = m_texts.last();
    const QChar* const data = rules.constData();
    const int size = rules.size();
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
        for (int selector = from; selector <= open;) {
            int end = selector;
            while (end < open && data[end] != QLatin1Char(','))
                ++end;
            const QStringRef name = QStringRef(&rules, selector, end - selector).trimmed();
            if (!name.isEmpty())
                m_rules[name.toString()].append({textIndex, open + 1, close});
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
    const auto known = m_declarations.constFind(selector);
    if (known != m_declarations.cend())
        return *known;
    const auto blocks = m_rules.constFind(selector);
    if (blocks == m_rules.cend())
        return Declarations();
    Declarations declarations;
    // Later declarations win, within a block as across blocks.
    for (const Block& block : *blocks) {
        const QString& rules = m_texts.at(block.text);
        const QChar* const data = rules.constData();
        const auto trimmed = [&rules](int from, int to) { return QStringRef(&rules, from, to - from).trimmed(); };
        for (int part = block.from; part <= block.to;) {
            int end = part;
            int colon = -1;
            while (end < block.to && data[end] != QLatin1Char(';')) {
                if (colon < 0 && data[end] == QLatin1Char(':'))
                    colon = end;
                ++end;
            }
            if (colon > part) {
                const QStringRef name = trimmed(part, colon);
                if (!name.isEmpty())
                    declarations.insert(name.toString(), trimmed(colon + 1, end).toString());
            }
            part = end + 1;
        }
    }
    m_declarations.insert(selector, declarations);
    return declarations;
}

bool ThemeStyleSheet::isEmpty() const
{
    return m_rules.isEmpty();
}

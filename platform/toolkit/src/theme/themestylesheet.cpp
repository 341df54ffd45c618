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
    int open = text.indexOf(QLatin1String("/*"));
    if (open < 0)
        return text;
    QString result;
    result.reserve(text.size());
    int i = 0;
    while (open >= 0) {
        result.append(text.constData() + i, open - i);
        const int end = text.indexOf(QLatin1String("*/"), open + 2);
        if (end < 0)
            return result;
        // A comment separates what stands around it.
        result += QLatin1Char(' ');
        i = end + 2;
        open = text.indexOf(QLatin1String("/*"), i);
    }
    result.append(text.constData() + i, text.size() - i);
    return result;
}

} // namespace

void ThemeStyleSheet::parse(const QString& text)
{
    const QString rules = withoutComments(text);
    int position = 0;
    for (;;) {
        const int open = rules.indexOf(QLatin1Char('{'), position);
        if (open < 0)
            break;
        // As in CSS, the end of the file closes a block left open.
        int close = rules.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            close = rules.size();
        // A stray '}' before the block belongs to nothing: the selectors
        // start after it.
        const int start = rules.lastIndexOf(QLatin1Char('}'), open);
        const int from = start >= position ? start + 1 : position;
        Declarations declarations;
        const QVector<QStringRef> parts = rules.midRef(open + 1, close - open - 1).split(QLatin1Char(';'));
        for (const QStringRef& part : parts) {
            const int colon = part.indexOf(QLatin1Char(':'));
            if (colon <= 0)
                continue;
            const QString name = part.left(colon).trimmed().toString();
            if (!name.isEmpty())
                declarations.insert(name, part.mid(colon + 1).trimmed().toString());
        }
        const QVector<QStringRef> selectors = rules.midRef(from, open - from).split(QLatin1Char(','));
        for (const QStringRef& selector : selectors) {
            const QString name = selector.trimmed().toString();
            if (name.isEmpty())
                continue;
            Declarations& rule = m_rules[name];
            for (auto it = declarations.cbegin(); it != declarations.cend(); ++it)
                rule.insert(it.key(), it.value());
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

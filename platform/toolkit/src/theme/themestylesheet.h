// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef THEMESTYLESHEET_H
#define THEMESTYLESHEET_H

#include <QHash>
#include <QString>
#include <QVector>

// The rules of the theme files: each selector ("MLabelStyle",
// "MLabelStyle.CommonHeader", "MButtonStyle[switch]") with its declarations
// ("font-size" → "26"). Later rules add to and override earlier ones, across
// files too, so that a theme can be split over several.
//
// Theme files may come from anywhere the environment points at: nothing in
// them is trusted, and a file too large to be a theme is refused.
class ThemeStyleSheet
{
public:
    using Declarations = QHash<QString, QString>;

    // Files larger than this are not read.
    static constexpr qint64 MaximumFileSize = 1024 * 1024;

    // Adds the rules of a theme file's text; malformed parts are skipped.
    void parse(const QString& text);
    // Adds the rules of the file at @p path; false when it cannot be read.
    bool load(const QString& path);

    bool contains(const QString& selector) const;
    Declarations declarations(const QString& selector) const;
    bool isEmpty() const;

private:
    // A block's declarations: the text between its braces.
    struct Block
    {
        int text; // in m_texts
        int from;
        int to;
    };

    QVector<QString> m_texts; // each text parsed, without its comments
    QHash<QString, QVector<Block>> m_rules;
    mutable QHash<QString, Declarations> m_declarations; // of the selectors asked for
};

#endif

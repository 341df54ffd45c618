// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef STYLELOOKUP_H
#define STYLELOOKUP_H

#include "mwidgetstyle.h"
#include "themestylesheet.h"

#include <QHash>
#include <QString>

#include <memory>


// Finds the style of a widget in the theme's rules: by style class
// ("MButtonStyle"), style name ("CommonSheetHeaderButton") and view type
// ("switch"). Each combination is built once and kept for as long as the
// lookup lives, so widgets may hold on to the pointers.
//
// The rules are taken in this order, later ones winning:
//   MWidgetStyle, <Class>, <Class>[<type>]
//   then for a style name the theme knows:
//   MWidgetStyle.<name>, <Class>.<name>, <Class>[<type>].<name>
// A name ending in "Inverted" that the theme does not know is the name
// without that ending followed by the name "Inverted": the base look in the
// theme's inverted colours.
class StyleLookup
{
public:
    explicit StyleLookup(ThemeStyleSheet sheet = ThemeStyleSheet());
    ~StyleLookup();

    const MWidgetStyle* style(const QString& styleClass, const QString& styleName, const QString& viewType);

private:
    bool knows(const QString& styleClass, const QString& styleName, const QString& viewType) const;
    void applyNamed(MWidgetStyle* style, const QString& styleClass, const QString& styleName,
                    const QString& viewType) const;

    ThemeStyleSheet m_sheet;
    QHash<QString, MWidgetStyle> m_bases; // by class and view type
    QHash<QString, std::shared_ptr<MWidgetStyle>> m_styles;
};

#endif

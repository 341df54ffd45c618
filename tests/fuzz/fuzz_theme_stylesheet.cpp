// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Theme files may come from any folder the environment names: their rules
// and the styles built from them must hold whatever the file says.
#include "mwidgetstyle.h"
#include "stylelookup.h"
#include "themestylesheet.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > size_t(ThemeStyleSheet::MaximumFileSize))
        return 0;
    ThemeStyleSheet sheet;
    sheet.parse(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    StyleLookup lookup(std::move(sheet));

    // What paint code does with a style's values, kept from being optimised away.
    [[maybe_unused]] static volatile qreal sink = 0;
    static const char* const classes[] = {"MButtonStyle", "MLabelStyle"};
    static const char* const names[] = {"", "CommonPanel", "CommonPanelInverted"};
    static const char* const types[] = {"", "switch"};
    for (const char* styleClass : classes) {
        for (const char* name : names) {
            for (const char* type : types) {
                const MWidgetStyle* style = lookup.style(QString::fromLatin1(styleClass), QString::fromLatin1(name),
                                                         QString::fromLatin1(type));
                sink = style->faded(style->color(), QStringLiteral("disabled-opacity")).alphaF()
                    + style->colorAttribute(QStringLiteral("track-color")).alphaF()
                    + style->number(QStringLiteral("line-width"), 1) + style->font().pixelSize()
                    + style->marginLeft() + style->minimumSize().width();
            }
        }
    }
    return 0;
}

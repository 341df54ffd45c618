// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "stylelookup.h"

#include "mwidgetstyle.h"

namespace {

const QString commonClass = QStringLiteral("MWidgetStyle");
const QString invertedSuffix = QStringLiteral("Inverted");

QString typed(const QString& styleClass, const QString& viewType)
{
    return styleClass + QLatin1Char('[') + viewType + QLatin1Char(']');
}

QString named(const QString& selector, const QString& styleName)
{
    return selector + QLatin1Char('.') + styleName;
}

} // namespace

StyleLookup::StyleLookup(ThemeStyleSheet sheet)
    : m_sheet(std::move(sheet))
{
}

StyleLookup::~StyleLookup() = default;

bool StyleLookup::knows(const QString& styleClass, const QString& styleName, const QString& viewType) const
{
    return m_sheet.contains(named(commonClass, styleName)) || m_sheet.contains(named(styleClass, styleName))
        || (!viewType.isEmpty() && m_sheet.contains(named(typed(styleClass, viewType), styleName)));
}

void StyleLookup::applyNamed(MWidgetStyle* style, const QString& styleClass, const QString& styleName,
                             const QString& viewType) const
{
    style->apply(m_sheet.declarations(named(commonClass, styleName)));
    style->apply(m_sheet.declarations(named(styleClass, styleName)));
    if (!viewType.isEmpty())
        style->apply(m_sheet.declarations(named(typed(styleClass, viewType), styleName)));
}

const MWidgetStyle* StyleLookup::style(const QString& styleClass, const QString& styleName,
                                       const QString& viewType)
{
    const QString key = styleClass + QLatin1Char('\n') + styleName + QLatin1Char('\n') + viewType;
    if (const auto cached = m_styles.value(key))
        return cached.get();

    // The look of the class and view type, which every style name of them
    // starts from, is built once.
    const QString baseKey = styleClass + QLatin1Char('\n') + viewType;
    auto base = m_bases.constFind(baseKey);
    if (base == m_bases.cend()) {
        MWidgetStyle look;
        look.apply(m_sheet.declarations(commonClass));
        look.apply(m_sheet.declarations(styleClass));
        if (!viewType.isEmpty())
            look.apply(m_sheet.declarations(typed(styleClass, viewType)));
        base = m_bases.insert(baseKey, look);
    }
    auto style = std::make_shared<MWidgetStyle>(*base);
    if (!styleName.isEmpty()) {
        if (knows(styleClass, styleName, viewType)) {
            applyNamed(style.get(), styleClass, styleName, viewType);
        } else if (styleName.endsWith(invertedSuffix)) {
            const QString base = styleName.chopped(invertedSuffix.size());
            if (!base.isEmpty())
                applyNamed(style.get(), styleClass, base, viewType);
            applyNamed(style.get(), styleClass, invertedSuffix, viewType);
        }
    }
    m_styles.insert(key, style);
    return style.get();
}

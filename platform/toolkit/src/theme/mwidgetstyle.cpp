// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetstyle.h"

#include <cmath>
#include <optional>

namespace {

// Sizes may carry the unit the theme files are written in.
bool toNumber(const QString& value, qreal* number)
{
    QStringRef v = QStringRef(&value).trimmed();
    if (v.endsWith(QLatin1String("px")))
        v.chop(2);
    bool ok = false;
    const double parsed = v.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    *number = parsed;
    return true;
}

// The largest size a widget can have (QtWidgets' QWIDGETSIZE_MAX).
constexpr qreal LargestSize = (1 << 24) - 1;

// Whole pixels, kept within what a widget's geometry can hold; nothing when
// the value is no size, or a negative one where only margins may be.
std::optional<int> toPixels(const QString& value, bool mayBeNegative)
{
    qreal number = 0;
    if (!toNumber(value, &number) || (number < 0 && !mayBeNegative))
        return std::nullopt;
    return int(qBound(-LargestSize, number, LargestSize));
}

QColor toColor(const QString& value)
{
    if (value == QLatin1String("none") || value == QLatin1String("transparent"))
        return QColor(Qt::transparent);
    return QColor(value);
}

// The properties that the style itself keeps in fields.
enum class Property {
    Margin, MarginLeft, MarginTop, MarginRight, MarginBottom,
    Padding, PaddingLeft, PaddingTop, PaddingRight, PaddingBottom,
    BorderWidth, BorderRadius,
    BackgroundColor, Color, AccentColor, BorderColor,
    FontSize, FontWeight,
    MinimumWidth, MinimumHeight, PreferredWidth, PreferredHeight, MaximumWidth, MaximumHeight,
    Other,
};

// One hash look-up for each declaration instead of a comparison with every
// name: styles are built before the first frame.
Property property(const QString& name)
{
    static const QHash<QString, Property> properties{
        {QStringLiteral("margin"), Property::Margin},
        {QStringLiteral("margin-left"), Property::MarginLeft},
        {QStringLiteral("margin-top"), Property::MarginTop},
        {QStringLiteral("margin-right"), Property::MarginRight},
        {QStringLiteral("margin-bottom"), Property::MarginBottom},
        {QStringLiteral("padding"), Property::Padding},
        {QStringLiteral("padding-left"), Property::PaddingLeft},
        {QStringLiteral("padding-top"), Property::PaddingTop},
        {QStringLiteral("padding-right"), Property::PaddingRight},
        {QStringLiteral("padding-bottom"), Property::PaddingBottom},
        {QStringLiteral("border-width"), Property::BorderWidth},
        {QStringLiteral("border-radius"), Property::BorderRadius},
        {QStringLiteral("background-color"), Property::BackgroundColor},
        {QStringLiteral("color"), Property::Color},
        {QStringLiteral("accent-color"), Property::AccentColor},
        {QStringLiteral("border-color"), Property::BorderColor},
        {QStringLiteral("font-size"), Property::FontSize},
        {QStringLiteral("font-weight"), Property::FontWeight},
        {QStringLiteral("minimum-width"), Property::MinimumWidth},
        {QStringLiteral("minimum-height"), Property::MinimumHeight},
        {QStringLiteral("preferred-width"), Property::PreferredWidth},
        {QStringLiteral("preferred-height"), Property::PreferredHeight},
        {QStringLiteral("maximum-width"), Property::MaximumWidth},
        {QStringLiteral("maximum-height"), Property::MaximumHeight},
    };
    return properties.value(name, Property::Other);
}

} // namespace

MWidgetStyle::MWidgetStyle()
{
    // What a widget shows when no theme file could be read at all.
    m_font.setPixelSize(22);
}

qreal MWidgetStyle::number(const QString& name, qreal fallback) const
{
    // Widgets read their numbers at every size hint and paint: each is
    // parsed once.
    auto known = m_numbers.constFind(name);
    if (known == m_numbers.cend()) {
        std::optional<qreal> parsed;
        qreal value = 0;
        const auto it = m_attributes.constFind(name);
        if (it != m_attributes.cend() && toNumber(*it, &value))
            parsed = value;
        known = m_numbers.insert(name, parsed);
    }
    return known->value_or(fallback);
}

QColor MWidgetStyle::colorAttribute(const QString& name) const
{
    const auto it = m_attributes.constFind(name);
    return it == m_attributes.cend() ? QColor() : toColor(*it);
}

QColor MWidgetStyle::faded(QColor color, const QString& name) const
{
    const qreal factor = qBound<qreal>(0, number(name, 1), 1);
    if (factor < 1 && color.isValid())
        color.setAlphaF(color.alphaF() * factor);
    return color;
}

void MWidgetStyle::apply(const QHash<QString, QString>& attributes)
{
    m_numbers.clear();
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
        const QString& key = it.key();
        const QString& value = it.value();
        // As in CSS, a declaration whose value does not fit its property is
        // dropped whole, so that what was inherited stays.
        const auto pixels = [&](std::initializer_list<int*> fields) {
            const std::optional<int> parsed = toPixels(value, key.startsWith(QLatin1String("margin")));
            for (int* field : fields)
                *field = parsed.value_or(*field);
            return parsed.has_value();
        };
        const auto size = [&](QSizeF* size, void (QSizeF::*set)(qreal)) {
            const std::optional<int> parsed = toPixels(value, false);
            if (parsed)
                (size->*set)(*parsed);
            return parsed.has_value();
        };
        const auto colour = [&](QColor* field) {
            const QColor parsed = toColor(value);
            if (parsed.isValid())
                *field = parsed;
            return parsed.isValid();
        };
        const auto valid = [&]() -> bool {
            switch (property(key)) {
            case Property::Margin:
                return pixels({&m_marginLeft, &m_marginTop, &m_marginRight, &m_marginBottom});
            case Property::Padding:
                return pixels({&m_paddingLeft, &m_paddingTop, &m_paddingRight, &m_paddingBottom});
            case Property::MarginLeft:
                return pixels({&m_marginLeft});
            case Property::MarginTop:
                return pixels({&m_marginTop});
            case Property::MarginRight:
                return pixels({&m_marginRight});
            case Property::MarginBottom:
                return pixels({&m_marginBottom});
            case Property::PaddingLeft:
                return pixels({&m_paddingLeft});
            case Property::PaddingTop:
                return pixels({&m_paddingTop});
            case Property::PaddingRight:
                return pixels({&m_paddingRight});
            case Property::PaddingBottom:
                return pixels({&m_paddingBottom});
            case Property::BorderWidth:
                return pixels({&m_borderWidth});
            case Property::BorderRadius:
                return pixels({&m_borderRadius});
            case Property::BackgroundColor:
                return colour(&m_backgroundColor);
            case Property::Color:
                return colour(&m_color);
            case Property::AccentColor:
                return colour(&m_accentColor);
            case Property::BorderColor:
                return colour(&m_borderColor);
            case Property::FontSize: {
                int pixelSize = 0;
                if (!pixels({&pixelSize}))
                    return false;
                // Qt refuses larger fonts with a warning on every use.
                m_font.setPixelSize(qBound(1, pixelSize, 0xffff));
                return true;
            }
            case Property::FontWeight: {
                const bool bold = value == QLatin1String("bold");
                if (!bold && value != QLatin1String("normal"))
                    return false;
                m_font.setBold(bold);
                return true;
            }
            case Property::MinimumWidth:
                return size(&m_minimumSize, &QSizeF::setWidth);
            case Property::MinimumHeight:
                return size(&m_minimumSize, &QSizeF::setHeight);
            case Property::PreferredWidth:
                return size(&m_preferredSize, &QSizeF::setWidth);
            case Property::PreferredHeight:
                return size(&m_preferredSize, &QSizeF::setHeight);
            case Property::MaximumWidth:
                return size(&m_maximumSize, &QSizeF::setWidth);
            case Property::MaximumHeight:
                return size(&m_maximumSize, &QSizeF::setHeight);
            case Property::Other:
                break;
            }
            // Whatever else a widget reads is read, and checked, where it is used.
            return true;
        };
        if (valid())
            m_attributes.insert(key, value);
    }
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetstyle.h"

#include <cmath>
#include <optional>

namespace {

// Sizes may carry the unit the theme files are written in.
bool toNumber(const QString& value, qreal* number)
{
    QString v = value.trimmed();
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

} // namespace

MWidgetStyle::MWidgetStyle()
{
    // What a widget shows when no theme file could be read at all.
    m_font.setPixelSize(22);
}

qreal MWidgetStyle::number(const QString& name, qreal fallback) const
{
    qreal value = fallback;
    const auto it = m_attributes.constFind(name);
    if (it != m_attributes.cend() && toNumber(*it, &value))
        return value;
    return fallback;
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
            if (key == QLatin1String("margin"))
                return pixels({&m_marginLeft, &m_marginTop, &m_marginRight, &m_marginBottom});
            if (key == QLatin1String("padding"))
                return pixels({&m_paddingLeft, &m_paddingTop, &m_paddingRight, &m_paddingBottom});
            if (key == QLatin1String("margin-left"))
                return pixels({&m_marginLeft});
            if (key == QLatin1String("margin-top"))
                return pixels({&m_marginTop});
            if (key == QLatin1String("margin-right"))
                return pixels({&m_marginRight});
            if (key == QLatin1String("margin-bottom"))
                return pixels({&m_marginBottom});
            if (key == QLatin1String("padding-left"))
                return pixels({&m_paddingLeft});
            if (key == QLatin1String("padding-top"))
                return pixels({&m_paddingTop});
            if (key == QLatin1String("padding-right"))
                return pixels({&m_paddingRight});
            if (key == QLatin1String("padding-bottom"))
                return pixels({&m_paddingBottom});
            if (key == QLatin1String("border-width"))
                return pixels({&m_borderWidth});
            if (key == QLatin1String("border-radius"))
                return pixels({&m_borderRadius});
            if (key == QLatin1String("background-color"))
                return colour(&m_backgroundColor);
            if (key == QLatin1String("color"))
                return colour(&m_color);
            if (key == QLatin1String("accent-color"))
                return colour(&m_accentColor);
            if (key == QLatin1String("border-color"))
                return colour(&m_borderColor);
            if (key == QLatin1String("font-size")) {
                int pixelSize = 0;
                if (!pixels({&pixelSize}))
                    return false;
                // Qt refuses larger fonts with a warning on every use.
                m_font.setPixelSize(qBound(1, pixelSize, 0xffff));
                return true;
            }
            if (key == QLatin1String("font-weight")) {
                const bool bold = value == QLatin1String("bold");
                if (!bold && value != QLatin1String("normal"))
                    return false;
                m_font.setBold(bold);
                return true;
            }
            if (key == QLatin1String("minimum-width"))
                return size(&m_minimumSize, &QSizeF::setWidth);
            if (key == QLatin1String("minimum-height"))
                return size(&m_minimumSize, &QSizeF::setHeight);
            if (key == QLatin1String("preferred-width"))
                return size(&m_preferredSize, &QSizeF::setWidth);
            if (key == QLatin1String("preferred-height"))
                return size(&m_preferredSize, &QSizeF::setHeight);
            if (key == QLatin1String("maximum-width"))
                return size(&m_maximumSize, &QSizeF::setWidth);
            if (key == QLatin1String("maximum-height"))
                return size(&m_maximumSize, &QSizeF::setHeight);
            // Whatever else a widget reads is read, and checked, where it is used.
            return true;
        };
        if (valid())
            m_attributes.insert(key, value);
    }
}

#include "mwidgetstyle.h"

#include <cmath>

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

// Whole pixels, kept within what a widget's geometry can hold.
int toInt(const QString& value)
{
    qreal number = 0;
    if (!toNumber(value, &number))
        return 0;
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
        m_attributes.insert(key, value);
        if (key == QLatin1String("margin")) {
            m_marginLeft = m_marginTop = m_marginRight = m_marginBottom = toInt(value);
        } else if (key == QLatin1String("padding")) {
            m_paddingLeft = m_paddingTop = m_paddingRight = m_paddingBottom = toInt(value);
        } else if (key == QLatin1String("margin-left")) {
            m_marginLeft = toInt(value);
        } else if (key == QLatin1String("margin-top")) {
            m_marginTop = toInt(value);
        } else if (key == QLatin1String("margin-right")) {
            m_marginRight = toInt(value);
        } else if (key == QLatin1String("margin-bottom")) {
            m_marginBottom = toInt(value);
        } else if (key == QLatin1String("padding-left")) {
            m_paddingLeft = toInt(value);
        } else if (key == QLatin1String("padding-top")) {
            m_paddingTop = toInt(value);
        } else if (key == QLatin1String("padding-right")) {
            m_paddingRight = toInt(value);
        } else if (key == QLatin1String("padding-bottom")) {
            m_paddingBottom = toInt(value);
        } else if (key == QLatin1String("background-color")) {
            m_backgroundColor = toColor(value);
        } else if (key == QLatin1String("color")) {
            m_color = toColor(value);
        } else if (key == QLatin1String("accent-color")) {
            m_accentColor = toColor(value);
        } else if (key == QLatin1String("border-color")) {
            m_borderColor = toColor(value);
        } else if (key == QLatin1String("border-width")) {
            m_borderWidth = toInt(value);
        } else if (key == QLatin1String("border-radius")) {
            m_borderRadius = toInt(value);
        } else if (key == QLatin1String("font-size")) {
            // Qt refuses larger fonts with a warning on every use.
            m_font.setPixelSize(qBound(1, toInt(value), 0xffff));
        } else if (key == QLatin1String("font-weight")) {
            m_font.setBold(value == QLatin1String("bold"));
        } else if (key == QLatin1String("minimum-width")) {
            m_minimumSize.setWidth(toInt(value));
        } else if (key == QLatin1String("minimum-height")) {
            m_minimumSize.setHeight(toInt(value));
        } else if (key == QLatin1String("preferred-width")) {
            m_preferredSize.setWidth(toInt(value));
        } else if (key == QLatin1String("preferred-height")) {
            m_preferredSize.setHeight(toInt(value));
        } else if (key == QLatin1String("maximum-width")) {
            m_maximumSize.setWidth(toInt(value));
        } else if (key == QLatin1String("maximum-height")) {
            m_maximumSize.setHeight(toInt(value));
        }
    }
}

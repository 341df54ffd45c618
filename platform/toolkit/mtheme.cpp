#include "mtheme.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QRegularExpression>

#ifndef TESSELTOUCH_INSTALLED_THEME_DIR
#define TESSELTOUCH_INSTALLED_THEME_DIR ""
#endif

namespace {

using Section = QHash<QString, QString>;

// The theme files, read once: selector ("MLabelStyle", "MLabelStyle.CommonHeader")
// to its attributes.
struct Theme
{
    QString directory;
    QHash<QString, Section> sections;
    QHash<QString, MWidgetStyle*> styles;

    Theme() { load(); }
    ~Theme() { qDeleteAll(styles); }

    void load()
    {
        QStringList candidates;
        const QString fromEnvironment = QString::fromLocal8Bit(qgetenv("TESSELTOUCH_THEME_DIR"));
        if (!fromEnvironment.isEmpty())
            candidates << fromEnvironment;
        if (*TESSELTOUCH_INSTALLED_THEME_DIR)
            candidates << QString::fromLocal8Bit(TESSELTOUCH_INSTALLED_THEME_DIR);
        candidates << QStringLiteral(":/tesseltouch/themes/default");
        for (const QString& candidate : qAsConst(candidates)) {
            const QDir dir(candidate);
            const QStringList files = dir.entryList({QStringLiteral("*.css")}, QDir::Files, QDir::Name);
            if (files.isEmpty())
                continue;
            directory = candidate;
            for (const QString& file : files)
                parse(dir.filePath(file));
            return;
        }
        qWarning("MTheme: no theme files found; every widget takes its default look");
    }

    void parse(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            qWarning("MTheme: cannot read %s", qPrintable(path));
            return;
        }
        QString text = QString::fromUtf8(file.readAll());
        text.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                       QRegularExpression::DotMatchesEverythingOption));
        int position = 0;
        for (;;) {
            const int open = text.indexOf(QLatin1Char('{'), position);
            const int close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
            if (open < 0 || close < 0)
                break;
            const QStringList selectors = text.mid(position, open - position).split(QLatin1Char(','));
            Section attributes;
            const QStringList declarations = text.mid(open + 1, close - open - 1).split(QLatin1Char(';'));
            for (const QString& declaration : declarations) {
                const int colon = declaration.indexOf(QLatin1Char(':'));
                if (colon > 0)
                    attributes.insert(declaration.left(colon).trimmed(), declaration.mid(colon + 1).trimmed());
            }
            for (const QString& selector : selectors) {
                const QString name = selector.trimmed();
                if (name.isEmpty())
                    continue;
                Section& section = sections[name];
                for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
                    section.insert(it.key(), it.value());
            }
            position = close + 1;
        }
    }

    bool has(const QString& styleClass, const QString& name) const
    {
        return sections.contains(QStringLiteral("MWidgetStyle.") + name)
            || sections.contains(styleClass + QLatin1Char('.') + name);
    }

    void applyNamed(MWidgetStyle* style, const QString& styleClass, const QString& name,
                    void (*apply)(MWidgetStyle*, const Section&)) const
    {
        apply(style, sections.value(QStringLiteral("MWidgetStyle.") + name));
        apply(style, sections.value(styleClass + QLatin1Char('.') + name));
    }
};

Theme& theme()
{
    static Theme instance;
    return instance;
}

int toInt(const QString& value)
{
    QString v = value;
    if (v.endsWith(QLatin1String("px")))
        v.chop(2);
    return v.trimmed().toInt();
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
    m_font.setPixelSize(22);
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
            m_font.setPixelSize(qMax(1, toInt(value)));
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

const MWidgetStyle* MTheme::style(const char* styleClassName, const QString& styleName)
{
    Theme& t = theme();
    const QString styleClass = QString::fromLatin1(styleClassName);
    const QString key = styleClass + QLatin1Char('#') + styleName;
    if (MWidgetStyle* cached = t.styles.value(key))
        return cached;

    auto* style = new MWidgetStyle;
    auto apply = [](MWidgetStyle* s, const Section& section) { s->apply(section); };
    style->apply(t.sections.value(QStringLiteral("MWidgetStyle")));
    style->apply(t.sections.value(styleClass));
    if (!styleName.isEmpty()) {
        if (t.has(styleClass, styleName)) {
            t.applyNamed(style, styleClass, styleName, apply);
        } else if (styleName.endsWith(QLatin1String("Inverted"))) {
            // "<name>Inverted" without a section of its own: "<name>" in the
            // theme's inverted colours.
            const QString base = styleName.chopped(8);
            if (!base.isEmpty())
                t.applyNamed(style, styleClass, base, apply);
            t.applyNamed(style, styleClass, QStringLiteral("Inverted"), apply);
        }
    }
    t.styles.insert(key, style);
    return style;
}

QString MTheme::themeDirectory()
{
    return theme().directory;
}

namespace {

// Theme icons are drawn, not read from files: a few shapes keyed by words of
// the identifier, in light strokes for "-inverse" icons (dark backgrounds).
void drawIcon(QPainter& p, const QString& id, const QRectF& r)
{
    const bool inverse = id.endsWith(QLatin1String("-inverse"));
    const QColor ink = inverse ? QColor(240, 240, 240) : QColor(60, 60, 60);
    QPen pen(ink, qMax<qreal>(1.5, r.width() / 14));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF box = r.adjusted(r.width() * 0.15, r.height() * 0.15, -r.width() * 0.15, -r.height() * 0.15);

    if (id.contains(QLatin1String("drilldown-arrow"))) {
        QPainterPath arrow;
        arrow.moveTo(box.left() + box.width() * 0.35, box.top() + box.height() * 0.15);
        arrow.lineTo(box.left() + box.width() * 0.7, box.center().y());
        arrow.lineTo(box.left() + box.width() * 0.35, box.bottom() - box.height() * 0.15);
        p.drawPath(arrow);
        return;
    }
    if (id.contains(QLatin1String("description")) || id.contains(QLatin1String("help"))) {
        p.drawEllipse(box);
        QFont f = p.font();
        f.setPixelSize(int(box.height() * 0.7));
        f.setBold(true);
        p.setFont(f);
        p.drawText(box, Qt::AlignCenter, QStringLiteral("i"));
        return;
    }
    if (id.contains(QLatin1String("content-")) || id.contains(QLatin1String("file"))) {
        // A sheet of paper with a folded corner and the kind written on it.
        const qreal fold = box.width() * 0.3;
        QPainterPath sheet;
        sheet.moveTo(box.left() + box.width() * 0.1, box.top());
        sheet.lineTo(box.right() - fold, box.top());
        sheet.lineTo(box.right() - box.width() * 0.1, box.top() + fold);
        sheet.lineTo(box.right() - box.width() * 0.1, box.bottom());
        sheet.lineTo(box.left() + box.width() * 0.1, box.bottom());
        sheet.closeSubpath();
        p.drawPath(sheet);
        QString kind = id.section(QLatin1String("content-"), 1).section(QLatin1Char('-'), 0, 0);
        if (kind.isEmpty())
            kind = QStringLiteral("file");
        else if (kind == QLatin1String("avatar"))
            kind = QStringLiteral("card");  // a contact's card
        QFont f = p.font();
        f.setPixelSize(qMax(6, int(box.height() * 0.22)));
        f.setBold(true);
        p.setFont(f);
        p.drawText(box.adjusted(0, box.height() * 0.3, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                   kind.left(4).toUpper());
        return;
    }
    if (id.contains(QLatin1String("contact")) || id.contains(QLatin1String("avatar"))) {
        p.drawEllipse(QRectF(box.center().x() - box.width() * 0.2, box.top(), box.width() * 0.4,
                             box.height() * 0.4));
        p.drawArc(QRectF(box.left() + box.width() * 0.1, box.top() + box.height() * 0.5,
                         box.width() * 0.8, box.height() * 0.9), 0, 180 * 16);
        return;
    }
    // Anything else: a rounded square with the identifier's last word.
    p.drawRoundedRect(box, box.width() * 0.15, box.width() * 0.15);
    const QString word = id.section(QLatin1Char('-'), inverse ? -2 : -1, inverse ? -2 : -1);
    QFont f = p.font();
    f.setPixelSize(qMax(6, int(box.height() * 0.35)));
    p.setFont(f);
    p.drawText(box, Qt::AlignCenter, word.left(2).toUpper());
}

} // namespace

QPixmap MTheme::pixmap(const QString& iconId, const QSize& size)
{
    const QString key = QStringLiteral("mtheme:%1:%2x%3").arg(iconId).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(size.isValid() && !size.isEmpty() ? size : QSize(48, 48));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawIcon(painter, iconId, QRectF(pixmap.rect()));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

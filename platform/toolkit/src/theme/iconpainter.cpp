// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "iconpainter.h"

#include "mwidgetstyle.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QLatin1String inverseSuffix("-inverse");

bool isInverse(const QString& iconId)
{
    return iconId.endsWith(inverseSuffix);
}

void setFontSize(QPainter& painter, int pixelSize, bool bold)
{
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    painter.setFont(font);
}

// The shapes are in fractions of the box they fill, so that every size is
// drawn alike.

void drawArrow(QPainter& painter, const QRectF& box)
{
    QPainterPath arrow;
    arrow.moveTo(box.left() + box.width() * 0.35, box.top() + box.height() * 0.15);
    arrow.lineTo(box.left() + box.width() * 0.7, box.center().y());
    arrow.lineTo(box.left() + box.width() * 0.35, box.bottom() - box.height() * 0.15);
    painter.drawPath(arrow);
}

void drawInformation(QPainter& painter, const QRectF& box)
{
    painter.drawEllipse(box);
    setFontSize(painter, int(box.height() * 0.7), true);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("i"));
}

// A sheet of paper with a folded corner and the kind of content written on it.
void drawDocument(QPainter& painter, const QString& iconId, const QRectF& box)
{
    const qreal fold = box.width() * 0.3;
    QPainterPath sheet;
    sheet.moveTo(box.left() + box.width() * 0.1, box.top());
    sheet.lineTo(box.right() - fold, box.top());
    sheet.lineTo(box.right() - box.width() * 0.1, box.top() + fold);
    sheet.lineTo(box.right() - box.width() * 0.1, box.bottom());
    sheet.lineTo(box.left() + box.width() * 0.1, box.bottom());
    sheet.closeSubpath();
    painter.drawPath(sheet);
    QString kind = iconId.section(QLatin1String("content-"), 1).section(QLatin1Char('-'), 0, 0);
    if (kind.isEmpty())
        kind = QStringLiteral("file");
    else if (kind == QLatin1String("avatar"))
        kind = QStringLiteral("card"); // a contact's card
    setFontSize(painter, qMax(6, int(box.height() * 0.22)), true);
    painter.drawText(box.adjusted(0, box.height() * 0.3, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     kind.left(4).toUpper());
}

void drawPerson(QPainter& painter, const QRectF& box)
{
    painter.drawEllipse(QRectF(box.center().x() - box.width() * 0.2, box.top(), box.width() * 0.4,
                               box.height() * 0.4));
    painter.drawArc(QRectF(box.left() + box.width() * 0.1, box.top() + box.height() * 0.5, box.width() * 0.8,
                           box.height() * 0.9),
                    0, 180 * 16);
}

void drawGeneric(QPainter& painter, const QString& iconId, const QRectF& box)
{
    painter.drawRoundedRect(box, box.width() * 0.15, box.width() * 0.15);
    const int last = isInverse(iconId) ? -2 : -1;
    const QString word = iconId.section(QLatin1Char('-'), last, last);
    setFontSize(painter, qMax(6, int(box.height() * 0.35)), false);
    painter.drawText(box, Qt::AlignCenter, word.left(2).toUpper());
}

} // namespace

QString IconPainter::styleNameFor(const QString& iconId)
{
    return isInverse(iconId) ? QStringLiteral("Inverse") : QString();
}

void IconPainter::paint(QPainter& painter, const QString& iconId, const QRectF& rect, const MWidgetStyle& style)
{
    QPen pen(style.color(), qMax<qreal>(style.number(QStringLiteral("minimum-line-width")), rect.width() / 14));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF box = rect.adjusted(rect.width() * 0.15, rect.height() * 0.15, -rect.width() * 0.15,
                                     -rect.height() * 0.15);

    if (iconId.contains(QLatin1String("drilldown-arrow")))
        drawArrow(painter, box);
    else if (iconId.contains(QLatin1String("description")) || iconId.contains(QLatin1String("help")))
        drawInformation(painter, box);
    else if (iconId.contains(QLatin1String("content-")) || iconId.contains(QLatin1String("file")))
        drawDocument(painter, iconId, box);
    else if (iconId.contains(QLatin1String("contact")) || iconId.contains(QLatin1String("avatar")))
        drawPerson(painter, box);
    else
        drawGeneric(painter, iconId, box);
}

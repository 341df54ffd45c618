// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mbutton.h"

#include "accessibletree_p.h"
#include "mbuttongroup.h"
#include "textextent_p.h"

#include <QFontMetricsF>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QtMath>

const MTheme::ViewType MButton::defaultType = QString();
const MTheme::ViewType MButton::switchType = QStringLiteral("switch");
const MTheme::ViewType MButton::checkboxType = QStringLiteral("checkbox");
const MTheme::ViewType MButton::groupType = QStringLiteral("group");
const MTheme::ViewType MButton::iconType = QStringLiteral("icon");
const MTheme::ViewType MButton::toggleType = QStringLiteral("toggle");

MButton::MButton(QGraphicsItem* parent)
    : MButton(QString(), QString(), parent)
{
}

MButton::MButton(const QString& text, QGraphicsItem* parent)
    : MButton(QString(), text, parent)
{
}

MButton::MButton(const QString& iconId, const QString& text, QGraphicsItem* parent)
    : MWidgetController(parent)
    , m_text(text)
    , m_iconId(iconId)
{
    setTappable(true);
    // Tab reaches it, a tap does not take the focus from a field.
    setFocusPolicy(Qt::TabFocus);
    applyStyle();
}

MButton::~MButton()
{
    if (m_group)
        m_group->removeButton(this);
}

const char* MButton::styleClassName() const
{
    return "MButtonStyle";
}

QString MButton::text() const
{
    return m_text;
}

void MButton::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_extent = {};
    updateGeometry();
    update();
    // Told later: whoever sets the text may go on with its work.
    if (accessibleName().isEmpty())
        AccessibleTree::post(this, QAccessible::NameChanged);
}

QString MButton::iconID() const
{
    return m_iconId;
}

void MButton::setIconID(const QString& iconId)
{
    m_iconId = iconId;
    updateGeometry();
    update();
}

bool MButton::isCheckable() const
{
    return m_checkable;
}

void MButton::setCheckable(bool checkable)
{
    m_checkable = checkable;
    if (!checkable)
        setChecked(false);
}

bool MButton::isChecked() const
{
    return m_checked;
}

MButtonGroup* MButton::group() const
{
    return m_group;
}

void MButton::setChecked(bool checked)
{
    if (!m_checkable || checked == m_checked)
        return;
    // The checked button of an exclusive group stays checked until another
    // one is checked.
    if (!checked && m_group && m_group->exclusive() && m_group->checkedButton() == this)
        return;
    m_checked = checked;
    update();
    // The others hear of their uncheck first; one of them, or a listener,
    // may delete this.
    const QPointer<MButton> self(this);
    if (checked && m_group) {
        m_group->buttonChecked(this);
        if (!self)
            return;
    }
    QAccessible::State changed;
    changed.checked = true;
    AccessibleTree::notifyState(this, changed);
    if (!self)
        return;
    Q_EMIT toggled(checked);
}

void MButton::toggle()
{
    setChecked(!m_checked);
}

void MButton::click()
{
    if (!isEnabled())
        return;
    // Receivers may delete the button (a dialog closing on its own button).
    QPointer<MButton> self(this);
    if (m_checkable)
        toggle();
    if (!self)
        return;
    Q_EMIT clicked(m_checked);
    if (self && m_group)
        m_group->buttonClickedBy(this);
}

void MButton::tapEvent()
{
    click();
}

void MButton::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    MWidgetController::mousePressEvent(event);
    if (event->isAccepted())
        Q_EMIT pressed();
}

void MButton::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    const bool wasPressed = isPressed();
    if (wasPressed) {
        const QPointer<MButton> self(this);
        Q_EMIT released();
        if (!self)
            return;
    }
    // Last: the tap may end with the button deleted.
    MWidgetController::mouseReleaseEvent(event);
}

void MButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    MWidgetController::keyPressEvent(event);
}

QSizeF MButton::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    const MWidgetStyle* s = style();
    const QString type = viewType();
    // Switches and check boxes keep their size: a row's spare width goes to
    // its text, so that they line up at the row's end.
    const QSizeF indicator(s->number(QStringLiteral("content-width"), -1),
                           s->number(QStringLiteral("content-height"), -1));
    if (type == switchType || type == checkboxType)
        return indicator;
    if (type == iconType)
        return which == Qt::MaximumSize ? QSizeF(-1, -1) : indicator;
    if (which == Qt::MaximumSize)
        return QSizeF(-1, -1);
    const TextExtent& extent = textExtent();
    const qreal iconSize = s->number(QStringLiteral("icon-size"));
    qreal width = extent.width;
    if (!m_iconId.isEmpty())
        width += iconSize + s->number(QStringLiteral("icon-spacing"));
    return QSizeF(which == Qt::MinimumSize ? qMin(width, extent.averageCharWidth * 4) : width,
                  qMax<qreal>(extent.height, m_iconId.isEmpty() ? 0 : iconSize));
}

const MButton::TextExtent& MButton::textExtent() const
{
    return measuredText(m_extent, style(), m_text);
}

QColor MButton::backgroundColor() const
{
    const MWidgetStyle* s = style();
    const QString type = viewType();
    if (type == switchType || type == checkboxType || type == iconType)
        return QColor();
    QColor color = s->backgroundColor();
    if ((m_checked || isPressed()) && s->accentColor().isValid())
        color = s->accentColor();
    if (!isEnabled())
        color = s->faded(color, QStringLiteral("disabled-background-opacity"));
    return color;
}

void MButton::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const MWidgetStyle* s = style();
    const QString type = viewType();
    const QRectF area = contentsRect();
    QColor ink = s->color();
    const QColor accent = s->accentColor();
    if (!isEnabled())
        ink = s->faded(ink, QStringLiteral("disabled-opacity"));

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (type == groupType) {
        // One part of a row or column of buttons: only its outer corners round.
        const QColor background = backgroundColor();
        const QRectF box = backgroundRect();
        const qreal r = s->borderRadius();
        const M::Position position = layoutPosition();
        QPainterPath path;
        path.addRoundedRect(box, r, r);
        QRectF square = box;
        if (position == M::HorizontalLeftPosition)
            square.setLeft(box.center().x());
        else if (position == M::HorizontalRightPosition)
            square.setRight(box.center().x());
        else if (position == M::VerticalTopPosition)
            square.setTop(box.center().y());
        else if (position == M::VerticalBottomPosition)
            square.setBottom(box.center().y());
        if (position != M::DefaultPosition)
            path.addRect(square);
        path.setFillRule(Qt::WindingFill);
        painter->setPen(Qt::NoPen);
        painter->setBrush(background.isValid() ? background : QColor(Qt::transparent));
        painter->drawPath(path.simplified());
        if (s->borderWidth() > 0 && s->borderColor().isValid()) {
            painter->setPen(QPen(s->borderColor(), s->borderWidth()));
            painter->setBrush(Qt::NoBrush);
            painter->drawPath(path.simplified());
        }
        const QColor checkedInk = s->colorAttribute(QStringLiteral("checked-color"));
        if (m_checked && checkedInk.isValid())
            ink = checkedInk;
        paintFocusFrame(painter);
    } else {
        MWidgetController::paint(painter, option, widget);
    }

    if (type == switchType) {
        QRectF track(0, 0, qMin(area.width(), s->number(QStringLiteral("track-width"))),
                     qMin(area.height(), s->number(QStringLiteral("track-height"))));
        track.moveCenter(area.center());
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_checked ? accent : s->colorAttribute(QStringLiteral("track-color")));
        painter->drawRoundedRect(track, track.height() / 2, track.height() / 2);
        const qreal inset = s->number(QStringLiteral("knob-inset"));
        const qreal knob = track.height() - 2 * inset;
        const qreal x = m_checked ? track.right() - knob - inset : track.left() + inset;
        painter->setBrush(s->colorAttribute(QStringLiteral("knob-color")));
        painter->drawEllipse(QRectF(x, track.top() + inset, knob, knob));
    } else if (type == checkboxType) {
        const qreal side = s->number(QStringLiteral("box-size"));
        const qreal radius = s->number(QStringLiteral("box-radius"));
        QRectF box(0, 0, side, side);
        box.moveCenter(area.center());
        painter->setPen(QPen(m_checked ? accent : ink, s->number(QStringLiteral("line-width"))));
        painter->setBrush(m_checked ? accent : QColor(Qt::transparent));
        painter->drawRoundedRect(box, radius, radius);
        if (m_checked) {
            // The tick, in fractions of the box.
            painter->setPen(QPen(s->colorAttribute(QStringLiteral("check-color")),
                                 s->number(QStringLiteral("check-line-width")), Qt::SolidLine, Qt::RoundCap,
                                 Qt::RoundJoin));
            const QPointF corner = box.topLeft();
            painter->drawPolyline(QPolygonF({corner + QPointF(side * 3 / 14, side / 2),
                                             corner + QPointF(side * 3 / 7, side * 5 / 7),
                                             corner + QPointF(side * 11 / 14, side * 2 / 7)}));
        }
    } else {
        QRectF textArea = area;
        if (!m_iconId.isEmpty()) {
            const qreal side = type == iconType ? qMin(area.width(), area.height())
                                                : qMin<qreal>(s->number(QStringLiteral("icon-size")), area.height());
            QRectF icon(0, 0, side, side);
            if (type == iconType || m_text.isEmpty())
                icon.moveCenter(area.center());
            else
                icon.moveTopLeft(QPointF(area.left(), area.center().y() - side / 2));
            painter->drawPixmap(icon.toRect(), MTheme::pixmap(m_iconId, icon.size().toSize()));
            textArea.setLeft(icon.right() + s->number(QStringLiteral("icon-spacing")));
        }
        if (type != iconType && !m_text.isEmpty()) {
            painter->setFont(s->font());
            painter->setPen(ink);
            const QString text = painter->fontMetrics().elidedText(m_text, Qt::ElideRight, int(textArea.width()));
            painter->drawText(textArea, Qt::AlignCenter, text);
        }
    }
    painter->restore();
}

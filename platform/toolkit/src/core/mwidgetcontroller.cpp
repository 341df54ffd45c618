// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetcontroller.h"

#include <QEvent>
#include <QGraphicsLayout>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

MWidgetController::MWidgetController(QGraphicsItem* parent)
    : MWidget(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
}

MWidgetController::~MWidgetController() = default;

QString MWidgetController::styleName() const
{
    return m_styleName;
}

void MWidgetController::setStyleName(const QString& name)
{
    if (name == m_styleName)
        return;
    m_styleName = name;
    applyStyle();
}

MTheme::ViewType MWidgetController::viewType() const
{
    return m_viewType;
}

void MWidgetController::setViewType(const MTheme::ViewType& type)
{
    if (type == m_viewType)
        return;
    m_viewType = type;
    applyStyle();
}

M::Position MWidgetController::layoutPosition() const
{
    return m_layoutPosition;
}

void MWidgetController::setLayoutPosition(M::Position position)
{
    if (position == m_layoutPosition)
        return;
    m_layoutPosition = position;
    update();
}

const char* MWidgetController::styleClassName() const
{
    return "MWidgetStyle";
}

const MWidgetStyle* MWidgetController::style() const
{
    // Resolved lazily: the style class is a virtual choice, which the
    // constructors of base classes cannot make.
    if (!m_style)
        m_style = MTheme::style(styleClassName(), m_styleName, m_viewType);
    return m_style;
}

void MWidgetController::applyStyle()
{
    m_style = nullptr;
    const MWidgetStyle* s = style();
    m_applyingStyle = true;
    setContentsMargins(s->marginLeft() + s->paddingLeft(), s->marginTop() + s->paddingTop(),
                       s->marginRight() + s->paddingRight(), s->marginBottom() + s->paddingBottom());
    // Setting a font, even the same one again, sends every descendant a
    // change: only when the style's font differs from the one set last time,
    // or the widget's font is no longer the one that came of it.
    const QFont styleFont = s->font();
    const QFont current = font();
    const bool sameStyleFont = styleFont == m_styleFont && styleFont.resolve() == m_styleFont.resolve();
    const bool stillApplied = current == m_appliedFont && current.resolve() == m_appliedFont.resolve();
    if (!m_fontSet || !sameStyleFont || !stillApplied) {
        setFont(styleFont);
        m_styleFont = styleFont;
        m_appliedFont = font();
        m_fontSet = true;
    }
    m_applyingStyle = false;
    updateGeometry();
    update();
}

void MWidgetController::updateGeometry()
{
    // A widget without a layout around it measures itself at once on every
    // update (it keeps its size within its hints).
    if (m_applyingStyle)
        return;
    MWidget::updateGeometry();
}

void MWidgetController::polishEvent()
{
    // The first moment at which the style class (a virtual choice) is final.
    applyStyle();
    MWidget::polishEvent();
}

QSizeF MWidgetController::contentSizeHint(Qt::SizeHint, const QSizeF&) const
{
    return QSizeF(-1, -1);
}

QSizeF MWidgetController::sizeHint(Qt::SizeHint which, const QSizeF& constraint) const
{
    const MWidgetStyle* s = style();
    const qreal horizontal = s->marginLeft() + s->paddingLeft() + s->marginRight() + s->paddingRight();
    const qreal vertical = s->marginTop() + s->paddingTop() + s->marginBottom() + s->paddingBottom();

    QSizeF hint;
    if (layout()) {
        hint = MWidget::sizeHint(which, constraint);
    } else {
        QSizeF inner = constraint;
        if (inner.width() >= 0)
            inner.setWidth(qMax<qreal>(0, inner.width() - horizontal));
        if (inner.height() >= 0)
            inner.setHeight(qMax<qreal>(0, inner.height() - vertical));
        hint = contentSizeHint(which, inner);
        // An unset maximum is unbounded; any other size gets the margins and
        // paddings around the contents.
        const bool unbounded = which == Qt::MaximumSize;
        hint.setWidth(unbounded && hint.width() < 0 ? QWIDGETSIZE_MAX : qMax<qreal>(0, hint.width()) + horizontal);
        hint.setHeight(unbounded && hint.height() < 0 ? QWIDGETSIZE_MAX : qMax<qreal>(0, hint.height()) + vertical);
    }

    // The theme may fix any of the sizes.
    const QSizeF fixed = which == Qt::MinimumSize ? s->minimumSize()
        : which == Qt::PreferredSize              ? s->preferredSize()
        : which == Qt::MaximumSize                ? s->maximumSize()
                                                  : QSizeF(-1, -1);
    if (fixed.width() >= 0)
        hint.setWidth(fixed.width());
    if (fixed.height() >= 0)
        hint.setHeight(fixed.height());
    return hint;
}

QRectF MWidgetController::backgroundRect() const
{
    const MWidgetStyle* s = style();
    return rect().adjusted(s->marginLeft(), s->marginTop(), -s->marginRight(), -s->marginBottom());
}

QColor MWidgetController::backgroundColor() const
{
    return style()->backgroundColor();
}

void MWidgetController::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const MWidgetStyle* s = style();
    const QColor background = backgroundColor();
    const bool border = s->borderWidth() > 0 && s->borderColor().isValid();
    if ((!background.isValid() || background.alpha() == 0) && !border) {
        paintFocusFrame(painter);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(border ? QPen(s->borderColor(), s->borderWidth()) : QPen(Qt::NoPen));
    painter->setBrush(background.isValid() ? QBrush(background) : QBrush(Qt::NoBrush));
    const qreal inset = border ? s->borderWidth() / 2.0 : 0;
    painter->drawRoundedRect(backgroundRect().adjusted(inset, inset, -inset, -inset), s->borderRadius(),
                             s->borderRadius());
    painter->restore();
    paintFocusFrame(painter);
}

void MWidgetController::paintFocusFrame(QPainter* painter) const
{
    if (!hasFocus() || !(focusPolicy() & Qt::TabFocus))
        return;
    const MWidgetStyle* s = style();
    QColor color = s->colorAttribute(QStringLiteral("focus-frame-color"));
    if (!color.isValid())
        color = s->accentColor().isValid() ? s->accentColor() : QColor(Qt::blue);
    const qreal width = qMax<qreal>(1, s->number(QStringLiteral("focus-frame-width"), 3));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(color, width));
    painter->setBrush(Qt::NoBrush);
    const qreal inset = width / 2;
    painter->drawRoundedRect(rect().adjusted(inset, inset, -inset, -inset), s->borderRadius(), s->borderRadius());
    painter->restore();
}

void MWidgetController::setTappable(bool tappable)
{
    m_tappable = tappable;
    setAcceptedMouseButtons(tappable ? Qt::LeftButton : Qt::NoButton);
}

bool MWidgetController::isPressed() const
{
    return m_pressed;
}

void MWidgetController::tapEvent()
{
}

void MWidgetController::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_tappable || !isEnabled() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    event->accept();
    update();
}

void MWidgetController::ungrabMouseEvent(QEvent* event)
{
    // Another item took the mouse (a viewport that started panning): no tap.
    if (m_pressed) {
        m_pressed = false;
        update();
    }
    MWidget::ungrabMouseEvent(event);
}

void MWidgetController::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_pressed) {
        event->ignore();
        return;
    }
    m_pressed = false;
    update();
    // A tap is a press and a release inside the widget.
    if (rect().contains(event->pos()))
        tapEvent();
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MWIDGETCONTROLLER_H
#define MWIDGETCONTROLLER_H

#include "tesseltouchcore_export.h"
#include "mnamespace.h"
#include "mtheme.h"
#include "mwidget.h"

// A widget whose look the theme gives: its style name and view type choose
// the style of its style class. Paints the style's background and border and
// keeps its contents margins at the style's margins plus paddings.
//
// Widgets that react to taps (a mouse press and release inside them) call
// setTappable(true) and override tapEvent().
class TT_EXPORT MWidgetController : public MWidget
{
    Q_OBJECT
    Q_PROPERTY(QString styleName READ styleName WRITE setStyleName)
    Q_PROPERTY(QString viewType READ viewType WRITE setViewType)

public:
    explicit MWidgetController(QGraphicsItem* parent = nullptr);
    ~MWidgetController() override;

    QString styleName() const;
    void setStyleName(const QString& name);

    MTheme::ViewType viewType() const;
    void setViewType(const MTheme::ViewType& type);

    M::Position layoutPosition() const;
    void setLayoutPosition(M::Position position);

    // The current style of this widget's style class and style name.
    const MWidgetStyle* style() const;
    virtual const char* styleClassName() const;

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    /// As QGraphicsWidget's, except while a style is being applied: the
    /// style's margins and font then update the geometry once, together.
    void updateGeometry() override;

protected:
    // Called whenever the style may have changed (style name, view type);
    // subclasses refresh what they derive from it.
    virtual void applyStyle();
    // The size the widget's contents need, without margins and paddings.
    virtual QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint = QSizeF()) const override;

    // The rectangle inside the margins, where the background is drawn.
    QRectF backgroundRect() const;
    // A frame around a control that has the keyboard's focus, so that who
    // uses the keyboard sees where it is.
    void paintFocusFrame(QPainter* painter) const;
    // Background colour to paint; subclasses vary it by state.
    virtual QColor backgroundColor() const;

    void setTappable(bool tappable);
    bool isPressed() const;
    virtual void tapEvent();

    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void ungrabMouseEvent(QEvent* event) override;
    void polishEvent() override;

private:
    QString m_styleName;
    MTheme::ViewType m_viewType;
    M::Position m_layoutPosition = M::DefaultPosition;
    mutable const MWidgetStyle* m_style = nullptr;
    // The style's font last set, and the widget's font that came of it.
    QFont m_styleFont;
    QFont m_appliedFont;
    bool m_fontSet = false;
    // While a style is applied, its margins and font would each have the
    // size hints taken again; applyStyle() updates the geometry once at its end.
    bool m_applyingStyle = false;
    bool m_tappable = false;
    bool m_pressed = false;
};

#endif

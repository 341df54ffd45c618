// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MBUTTON_H
#define MBUTTON_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

class MButtonGroup;

// A button; checkable buttons keep an on/off state. Its view type chooses
// its look: a push button (default), switchType (an on/off switch),
// checkboxType, groupType (one part of a button group) or iconType (the
// icon alone). A tap clicks it.
class TT_EXPORT MButton : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString iconID READ iconID WRITE setIconID)
    Q_PROPERTY(bool checkable READ isCheckable WRITE setCheckable)
    Q_PROPERTY(bool checked READ isChecked WRITE setChecked NOTIFY toggled)

public:
    static const MTheme::ViewType defaultType;
    static const MTheme::ViewType switchType;
    static const MTheme::ViewType checkboxType;
    static const MTheme::ViewType groupType;
    static const MTheme::ViewType iconType;
    static const MTheme::ViewType toggleType;

    explicit MButton(QGraphicsItem* parent = nullptr);
    explicit MButton(const QString& text, QGraphicsItem* parent = nullptr);
    MButton(const QString& iconId, const QString& text, QGraphicsItem* parent = nullptr);
    ~MButton() override;

    QString text() const;
    void setText(const QString& text);
    QString iconID() const;
    void setIconID(const QString& iconId);
    bool isCheckable() const;
    void setCheckable(bool checkable);
    bool isChecked() const;
    MButtonGroup* group() const;

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void setChecked(bool checked);
    void toggle();
    // What a tap does: toggles a checkable button, then emits clicked().
    void click();

Q_SIGNALS:
    void clicked(bool checked = false);
    void toggled(bool checked);
    void pressed();
    void released();

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;
    QColor backgroundColor() const override;
    void tapEvent() override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The text's measures in the font of a style (styles live as long as
    // the theme), taken again only when the text or the font changes:
    // measuring shapes the whole text, and layouts ask for size hints many
    // times over.
    struct TextExtent
    {
        const MWidgetStyle* style = nullptr;
        qreal width = 0;
        qreal height = 0;
        qreal averageCharWidth = 0;
    };
    const TextExtent& textExtent() const;

    friend class MButtonGroup;
    mutable TextExtent m_extent;
    QString m_text;
    QString m_iconId;
    bool m_checkable = false;
    bool m_checked = false;
    MButtonGroup* m_group = nullptr;
};

#endif

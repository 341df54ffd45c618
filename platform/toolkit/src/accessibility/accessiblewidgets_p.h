// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef ACCESSIBLEWIDGETS_P_H
#define ACCESSIBLEWIDGETS_P_H

#include <QAccessibleObject>
#include <QAccessibleWidget>

class MTextEdit;
class MWindow;
class QGraphicsWidget;

// The window: its children are the scene windows that can be read, not
// the view's viewport, which shows nothing Qt could read.
class AccessibleWindow : public QAccessibleWidget
{
public:
    explicit AccessibleWindow(MWindow* window);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
};

// A widget of a window's scene. The widget may be deleted while a client
// holds the interface: every answer asks for the widget again, and a widget
// half through its destruction (no longer of its class) counts as gone.
class AccessibleItem : public QAccessibleObject, public QAccessibleActionInterface, public QAccessibleValueInterface
{
public:
    explicit AccessibleItem(QGraphicsWidget* widget);

    bool isValid() const override;
    QWindow* window() const override;
    QRect rect() const override;
    QAccessibleInterface* parent() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString& name) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

protected:
    // The widget while it is whole, else null.
    QGraphicsWidget* widget() const;
    QRect screenRect(const QRectF& sceneRect) const;
};

// A text field, read and edited character by character.
class AccessibleTextEdit : public AccessibleItem,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleTextEdit(MTextEdit* edit);

    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    using AccessibleItem::text;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    MTextEdit* edit() const;
    // What a listener may hear of the text: bullets for a hidden one.
    QString shownText() const;
};

#endif

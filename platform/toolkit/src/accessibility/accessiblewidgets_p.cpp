// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "accessiblewidgets_p.h"

#include "accessibletree_p.h"
#include "mbasicsheetheader.h"
#include "mbanner.h"
#include "mbutton.h"
#include "mcombobox.h"
#include "mdialog.h"
#include "mlabel.h"
#include "mlistitem.h"
#include "mmessagebox.h"
#include "mprogressindicator.h"
#include "msheet.h"
#include "mtextedit.h"
#include "mwindow.h"

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWindow>

namespace {

const QChar hiddenCharacter(0x25cf);

QString plainText(const QString& text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// The texts of the labels inside @p item, in reading order, shown ones only.
QStringList labelTexts(const QGraphicsItem* item)
{
    QStringList texts;
    for (QGraphicsItem* child : AccessibleTree::visualOrder(item->childItems())) {
        if (!child->isVisibleTo(item))
            continue;
        if (auto* label = qobject_cast<MLabel*>(child->toGraphicsObject()))
            texts.append(plainText(label->text()));
        else
            texts.append(labelTexts(child));
    }
    return texts;
}

QString ownName(const QGraphicsWidget* widget)
{
    if (const auto* button = qobject_cast<const MButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const MLabel*>(widget))
        return plainText(label->text());
    if (const auto* edit = qobject_cast<const MTextEdit*>(widget))
        return edit->prompt();
    if (const auto* combo = qobject_cast<const MComboBox*>(widget))
        return combo->title();
    if (const auto* dialog = qobject_cast<const MDialog*>(widget))
        return dialog->title();
    if (const auto* banner = qobject_cast<const MBanner*>(widget))
        return banner->title();
    if (const auto* sheet = qobject_cast<const MSheet*>(widget))
        return sheet->headerWidget() ? labelTexts(sheet->headerWidget()).value(0) : QString();
    if (qobject_cast<const MListItem*>(widget))
        return labelTexts(widget).value(0);
    return QString();
}

QString ownDescription(const QGraphicsWidget* widget)
{
    if (const auto* box = qobject_cast<const MMessageBox*>(widget))
        return plainText(box->text());
    if (qobject_cast<const MListItem*>(widget))
        return labelTexts(widget).value(1);
    return QString();
}

QAccessibleInterface* interfaceOf(QObject* object)
{
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

QAccessibleInterface* childContaining(const QList<QObject*>& children, int x, int y)
{
    // The topmost first: later siblings are drawn above earlier ones.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        QAccessibleInterface* child = interfaceOf(*it);
        if (child && child->rect().contains(x, y))
            return child;
    }
    return nullptr;
}

int indexIn(const QList<QObject*>& children, const QAccessibleInterface* child)
{
    return child ? children.indexOf(child->object()) : -1;
}

} // namespace

AccessibleWindow::AccessibleWindow(MWindow* window)
    : QAccessibleWidget(window, QAccessible::Window)
{
}

QString AccessibleWindow::text(QAccessible::Text t) const
{
    const QWidget* window = widget();
    if (t == QAccessible::Name && window)
        return window->accessibleName().isEmpty() ? window->windowTitle() : window->accessibleName();
    return QAccessibleWidget::text(t);
}

int AccessibleWindow::childCount() const
{
    return AccessibleTree::children(object()).size();
}

QAccessibleInterface* AccessibleWindow::child(int index) const
{
    return interfaceOf(AccessibleTree::children(object()).value(index));
}

int AccessibleWindow::indexOfChild(const QAccessibleInterface* child) const
{
    return indexIn(AccessibleTree::children(object()), child);
}

QAccessibleInterface* AccessibleWindow::childAt(int x, int y) const
{
    return childContaining(AccessibleTree::children(object()), x, y);
}

QAccessibleInterface* AccessibleWindow::focusChild() const
{
    const auto* window = qobject_cast<const MWindow*>(object());
    QGraphicsItem* focused = window && window->scene() ? window->scene()->focusItem() : nullptr;
    for (; focused; focused = focused->parentItem()) {
        if (QGraphicsObject* node = focused->toGraphicsObject();
            node && AccessibleTree::role(node) != QAccessible::NoRole)
            return interfaceOf(node);
    }
    return nullptr;
}

AccessibleItem::AccessibleItem(QGraphicsWidget* widget)
    : QAccessibleObject(widget)
{
}

QGraphicsWidget* AccessibleItem::widget() const
{
    QObject* o = object();
    if (!o)
        return nullptr;
    // Casts follow the class as it is now: a widget in its base class's
    // destructor no longer is one.
    if (auto* w = qobject_cast<MWidget*>(o))
        return w;
    auto* plain = qobject_cast<QGraphicsWidget*>(o);
    return plain && AccessibleTree::role(plain) != QAccessible::NoRole ? plain : nullptr;
}

bool AccessibleItem::isValid() const
{
    return widget() != nullptr;
}

QWindow* AccessibleItem::window() const
{
    const QGraphicsWidget* w = widget();
    const MWindow* view = w ? AccessibleTree::windowOf(w) : nullptr;
    return view ? view->window()->windowHandle() : nullptr;
}

QRect AccessibleItem::screenRect(const QRectF& sceneRect) const
{
    const QGraphicsWidget* w = widget();
    const MWindow* view = w ? AccessibleTree::windowOf(w) : nullptr;
    if (!view)
        return QRect();
    const QRect inViewport = view->mapFromScene(sceneRect).boundingRect();
    return inViewport.translated(view->viewport()->mapToGlobal(QPoint(0, 0)));
}

QRect AccessibleItem::rect() const
{
    const QGraphicsWidget* w = widget();
    return w ? screenRect(w->sceneBoundingRect()) : QRect();
}

QAccessibleInterface* AccessibleItem::parent() const
{
    const QGraphicsWidget* w = widget();
    return w ? interfaceOf(AccessibleTree::parent(w)) : nullptr;
}

int AccessibleItem::childCount() const
{
    return isValid() ? AccessibleTree::children(object()).size() : 0;
}

QAccessibleInterface* AccessibleItem::child(int index) const
{
    return isValid() ? interfaceOf(AccessibleTree::children(object()).value(index)) : nullptr;
}

int AccessibleItem::indexOfChild(const QAccessibleInterface* child) const
{
    return isValid() ? indexIn(AccessibleTree::children(object()), child) : -1;
}

QAccessibleInterface* AccessibleItem::childAt(int x, int y) const
{
    return isValid() ? childContaining(AccessibleTree::children(object()), x, y) : nullptr;
}

QAccessible::Role AccessibleItem::role() const
{
    const QGraphicsWidget* w = widget();
    return w ? AccessibleTree::role(w) : QAccessible::NoRole;
}

QString AccessibleItem::text(QAccessible::Text t) const
{
    const QGraphicsWidget* w = widget();
    const auto* m = qobject_cast<const MWidget*>(w);
    if (!w)
        return QString();
    switch (t) {
    case QAccessible::Name:
        return m && !m->accessibleName().isEmpty() ? m->accessibleName() : ownName(w);
    case QAccessible::Description:
        return m && !m->accessibleDescription().isEmpty() ? m->accessibleDescription() : ownDescription(w);
    case QAccessible::Value:
        if (const auto* combo = qobject_cast<const MComboBox*>(w))
            return combo->currentText();
        if (const auto* progress = qobject_cast<const MProgressIndicator*>(w))
            return progress->unknownDuration() ? QString() : QString::number(progress->value());
        return QString();
    default:
        return QString();
    }
}

QAccessible::State AccessibleItem::state() const
{
    QAccessible::State state;
    const QGraphicsWidget* w = widget();
    if (!w) {
        state.invalid = true;
        return state;
    }
    state.invisible = !w->isVisible();
    state.disabled = !w->isEnabled();
    state.focusable = (w->flags() & QGraphicsItem::ItemIsFocusable) && (w->focusPolicy() & Qt::TabFocus);
    state.focused = w->hasFocus();
    if (const auto* button = qobject_cast<const MButton*>(w)) {
        state.checkable = button->isCheckable();
        state.checked = button->isChecked();
    } else if (const auto* sceneWindow = qobject_cast<const MSceneWindow*>(w)) {
        state.modal = AccessibleTree::isModal(sceneWindow);
    } else if (const auto* edit = qobject_cast<const MTextEdit*>(w)) {
        state.editable = true;
        state.passwordEdit = edit->echoMode() != MTextEditModel::Normal;
        state.multiLine = edit->lineMode() == MTextEditModel::MultiLine;
    } else if (const auto* progress = qobject_cast<const MProgressIndicator*>(w)) {
        state.busy = progress->unknownDuration();
    } else if (const auto* combo = qobject_cast<const MComboBox*>(w)) {
        state.expanded = combo->isPopupVisible();
        state.collapsed = !combo->isPopupVisible();
    }
    return state;
}

void* AccessibleItem::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::ValueInterface && qobject_cast<MProgressIndicator*>(widget()))
        return static_cast<QAccessibleValueInterface*>(this);
    return nullptr;
}

QStringList AccessibleItem::actionNames() const
{
    QStringList names;
    const QGraphicsWidget* w = widget();
    if (!w || !w->isEnabled())
        return names;
    if (const auto* button = qobject_cast<const MButton*>(w)) {
        if (button->isCheckable())
            names.append(toggleAction());
        names.append(pressAction());
    } else if (qobject_cast<const MListItem*>(w) || qobject_cast<const MComboBox*>(w)) {
        names.append(pressAction());
    }
    if (state().focusable)
        names.append(setFocusAction());
    return names;
}

void AccessibleItem::doAction(const QString& name)
{
    QGraphicsWidget* w = widget();
    if (!w || !actionNames().contains(name))
        return;
    // Each does what a tap does, so the widget's own signals tell the rest.
    if (name == setFocusAction())
        w->setFocus(Qt::OtherFocusReason);
    else if (auto* button = qobject_cast<MButton*>(w))
        button->click();
    else if (auto* item = qobject_cast<MListItem*>(w))
        item->click();
    else if (auto* combo = qobject_cast<MComboBox*>(w))
        combo->showPopup();
}

QStringList AccessibleItem::keyBindingsForAction(const QString& name) const
{
    if (name == pressAction() || name == toggleAction())
        return {QStringLiteral("Space"), QStringLiteral("Return")};
    return {};
}

QVariant AccessibleItem::currentValue() const
{
    const auto* progress = qobject_cast<const MProgressIndicator*>(widget());
    return progress ? QVariant(progress->value()) : QVariant();
}

void AccessibleItem::setCurrentValue(const QVariant&)
{
    // A progress indicator reports; it takes no value from the user.
}

QVariant AccessibleItem::maximumValue() const
{
    const auto* progress = qobject_cast<const MProgressIndicator*>(widget());
    return progress ? QVariant(progress->maximum()) : QVariant();
}

QVariant AccessibleItem::minimumValue() const
{
    const auto* progress = qobject_cast<const MProgressIndicator*>(widget());
    return progress ? QVariant(progress->minimum()) : QVariant();
}

QVariant AccessibleItem::minimumStepSize() const
{
    return 1;
}

AccessibleTextEdit::AccessibleTextEdit(MTextEdit* edit)
    : AccessibleItem(edit)
{
}

MTextEdit* AccessibleTextEdit::edit() const
{
    return qobject_cast<MTextEdit*>(widget());
}

QString AccessibleTextEdit::shownText() const
{
    const MTextEdit* e = edit();
    if (!e)
        return QString();
    switch (e->echoMode()) {
    case MTextEditModel::Normal:
        return e->text();
    case MTextEditModel::NoEcho:
        return QString();
    default:
        return QString(e->text().size(), hiddenCharacter);
    }
}

void* AccessibleTextEdit::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return AccessibleItem::interface_cast(type);
}

void AccessibleTextEdit::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    const MTextEdit* e = edit();
    if (!e || selectionIndex != 0 || !e->textCursor().hasSelection())
        return;
    *startOffset = e->textCursor().selectionStart();
    *endOffset = e->textCursor().selectionEnd();
}

int AccessibleTextEdit::selectionCount() const
{
    const MTextEdit* e = edit();
    return e && e->textCursor().hasSelection() ? 1 : 0;
}

void AccessibleTextEdit::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleTextEdit::removeSelection(int selectionIndex)
{
    if (MTextEdit* e = edit(); e && selectionIndex == 0)
        e->setCursorPosition(e->cursorPosition());
}

void AccessibleTextEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (MTextEdit* e = edit(); e && selectionIndex == 0)
        e->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleTextEdit::cursorPosition() const
{
    const MTextEdit* e = edit();
    return e ? e->cursorPosition() : 0;
}

void AccessibleTextEdit::setCursorPosition(int position)
{
    if (MTextEdit* e = edit())
        e->setCursorPosition(position);
}

QString AccessibleTextEdit::text(int startOffset, int endOffset) const
{
    const QString shown = shownText();
    startOffset = qBound(0, startOffset, shown.size());
    endOffset = qBound(startOffset, endOffset < 0 ? shown.size() : endOffset, shown.size());
    return shown.mid(startOffset, endOffset - startOffset);
}

int AccessibleTextEdit::characterCount() const
{
    return shownText().size();
}

QRect AccessibleTextEdit::characterRect(int offset) const
{
    const MTextEdit* e = edit();
    const QString shown = shownText();
    if (!e || offset < 0 || offset >= shown.size())
        return QRect();
    // Single lines as the field lays them out from its left edge; enough for
    // a magnifier to follow the caret.
    const QFontMetricsF metrics(e->style()->font());
    const QRectF contents = e->contentsRect();
    const qreal left = contents.left() + metrics.horizontalAdvance(shown.left(offset));
    const QRectF box(left, contents.top(), metrics.horizontalAdvance(shown.at(offset)), metrics.height());
    return screenRect(e->mapRectToScene(box));
}

int AccessibleTextEdit::offsetAtPoint(const QPoint& point) const
{
    for (int offset = 0; offset < characterCount(); ++offset) {
        if (characterRect(offset).contains(point))
            return offset;
    }
    return -1;
}

void AccessibleTextEdit::scrollToSubstring(int startIndex, int)
{
    setCursorPosition(startIndex);
}

QString AccessibleTextEdit::attributes(int offset, int* startOffset, int* endOffset) const
{
    Q_UNUSED(offset)
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void AccessibleTextEdit::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleTextEdit::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void AccessibleTextEdit::replaceText(int startOffset, int endOffset, const QString& text)
{
    // Through the field's own editing, so that its validator and length
    // limit hold for a client too.
    MTextEdit* e = edit();
    if (!e || !e->isEnabled())
        return;
    e->setSelection(startOffset, endOffset - startOffset);
    e->insert(text);
}

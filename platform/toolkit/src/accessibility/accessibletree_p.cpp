// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "accessibletree_p.h"

#include "accessiblewidgets_p.h"
#include "mbasicsheetheader.h"
#include "mbanner.h"
#include "mbutton.h"
#include "mbuttongroup.h"
#include "mcombobox.h"
#include "mdialog.h"
#include "mimagewidget.h"
#include "mlabel.h"
#include "mlistitem.h"
#include "mmessagebox.h"
#include "mpannableviewport.h"
#include "mpositionindicator.h"
#include "mprogressindicator.h"
#include "mseparator.h"
#include "msheet.h"
#include "mtextedit.h"
#include "mwindow.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>

#include <algorithm>

namespace {

QAccessibleInterface* toolkitInterface(const QString& className, QObject* object)
{
    // Asked once per class of the object, most derived first: answering at
    // the toolkit's own classes leaves factories of subclasses the first word.
    if (className == QLatin1String("MWindow")) {
        if (auto* window = qobject_cast<MWindow*>(object))
            return new AccessibleWindow(window);
        return nullptr;
    }
    if (className != QLatin1String("MWidget") && className != QLatin1String("QGraphicsWidget"))
        return nullptr;
    const QAccessible::Role role = AccessibleTree::role(object);
    if (role == QAccessible::NoRole)
        return nullptr;
    if (auto* edit = qobject_cast<MTextEdit*>(object))
        return new AccessibleTextEdit(edit);
    return new AccessibleItem(static_cast<QGraphicsWidget*>(object));
}

void installAtStartup()
{
    AccessibleTree::install();
}

// Qt tells the handler only by replacing it: put it straight back.
QAccessible::UpdateHandler inProcessHandler()
{
    const QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
    QAccessible::installUpdateHandler(handler);
    return handler;
}

bool holdsListItems(const QGraphicsItem* item)
{
    const QList<QGraphicsItem*> children = item->childItems();
    return std::any_of(children.begin(), children.end(), [](QGraphicsItem* child) {
        return child->isVisible() && qobject_cast<MListItem*>(child->toGraphicsObject());
    });
}

bool isShown(const QGraphicsItem* item)
{
    return item->isVisible() && item->effectiveOpacity() > 0;
}

void collectChildren(const QGraphicsItem* item, bool insideListItem, QList<QObject*>& nodes)
{
    for (QGraphicsItem* child : AccessibleTree::visualOrder(item->childItems())) {
        if (!isShown(child))
            continue;
        QGraphicsObject* object = child->toGraphicsObject();
        const QAccessible::Role role = object ? AccessibleTree::role(object) : QAccessible::NoRole;
        // A list item is read as one line: its labels are its name and description.
        if (insideListItem && (role == QAccessible::StaticText || role == QAccessible::Graphic))
            continue;
        if (role != QAccessible::NoRole)
            nodes.append(object);
        else if (!qobject_cast<MSeparator*>(object) && !qobject_cast<MPositionIndicator*>(object))
            collectChildren(child, insideListItem, nodes);
    }
}

void collectControls(QGraphicsItem* item, QList<QGraphicsItem*>& controls)
{
    for (QGraphicsItem* child : item->childItems()) {
        if (!isShown(child) || !child->isEnabled())
            continue;
        if (child->isWidget() && (child->flags() & QGraphicsItem::ItemIsFocusable)
            && (static_cast<QGraphicsWidget*>(child)->focusPolicy() & Qt::TabFocus))
            controls.append(child);
        collectControls(child, controls);
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStartup)

void AccessibleTree::install()
{
    QAccessible::installFactory(toolkitInterface);
}

QAccessible::Role AccessibleTree::role(const QObject* object)
{
    // Only whole widgets: one that is being destroyed has lost its class.
    const auto* widget = qobject_cast<const MWidget*>(object);
    if (!widget) {
        const auto* plain = qobject_cast<const QGraphicsWidget*>(object);
        return plain && holdsListItems(plain) ? QAccessible::List : QAccessible::NoRole;
    }
    if (qobject_cast<const MSceneWindow*>(object)) {
        if (qobject_cast<const MMessageBox*>(object) || qobject_cast<const MBanner*>(object))
            return QAccessible::AlertMessage;
        if (qobject_cast<const MDialog*>(object) || qobject_cast<const MSheet*>(object))
            return QAccessible::Dialog;
        return QAccessible::Pane;
    }
    if (const auto* button = qobject_cast<const MButton*>(object)) {
        if (button->group() && button->group()->exclusive() && button->isCheckable())
            return QAccessible::RadioButton;
        return button->isCheckable() ? QAccessible::CheckBox : QAccessible::PushButton;
    }
    if (qobject_cast<const MLabel*>(object))
        return QAccessible::StaticText;
    if (qobject_cast<const MTextEdit*>(object))
        return QAccessible::EditableText;
    if (qobject_cast<const MListItem*>(object))
        return QAccessible::ListItem;
    if (qobject_cast<const MProgressIndicator*>(object))
        return QAccessible::ProgressBar;
    if (qobject_cast<const MComboBox*>(object))
        return QAccessible::ComboBox;
    if (qobject_cast<const MImageWidget*>(object))
        return widget->accessibleName().isEmpty() ? QAccessible::NoRole : QAccessible::Graphic;
    if (qobject_cast<const MSeparator*>(object) || qobject_cast<const MPositionIndicator*>(object)
        || qobject_cast<const MPannableViewport*>(object))
        return QAccessible::NoRole;
    if (qobject_cast<const MBasicSheetHeader*>(object))
        return QAccessible::Grouping;
    // A container for layout is a node only when it says something of its own.
    if (holdsListItems(widget))
        return QAccessible::List;
    return widget->accessibleName().isEmpty() ? QAccessible::NoRole : QAccessible::Grouping;
}

QList<QObject*> AccessibleTree::children(const QObject* object)
{
    QList<QObject*> nodes;
    if (const auto* window = qobject_cast<const MWindow*>(object)) {
        for (MSceneWindow* sceneWindow : readableSceneWindows(window))
            nodes.append(sceneWindow);
        return nodes;
    }
    const QAccessible::Role own = role(object);
    if (own == QAccessible::NoRole)
        return nodes;
    collectChildren(static_cast<const QGraphicsWidget*>(object), own == QAccessible::ListItem, nodes);
    return nodes;
}

QObject* AccessibleTree::parent(const QGraphicsObject* item)
{
    const QGraphicsItem* top = item;
    for (QGraphicsItem* above = item->parentItem(); above; above = above->parentItem()) {
        if (QGraphicsObject* object = above->toGraphicsObject(); object && role(object) != QAccessible::NoRole)
            return object;
        top = above;
    }
    if (!qobject_cast<const MSceneWindow*>(top->toGraphicsObject()))
        return nullptr;
    return windowOf(item);
}

QList<MSceneWindow*> AccessibleTree::readableSceneWindows(const MWindow* window)
{
    QList<MSceneWindow*> readable;
    for (MSceneWindow* sceneWindow : window->sceneWindows()) {
        const MSceneWindow::SceneWindowState state = sceneWindow->sceneWindowState();
        if (!isShown(sceneWindow) || state == MSceneWindow::Disappearing || state == MSceneWindow::Disappeared)
            continue;
        // A modal one's layer hides everything below it.
        if (isModal(sceneWindow))
            readable.clear();
        readable.append(sceneWindow);
    }
    return readable;
}

bool AccessibleTree::isModal(const MSceneWindow* window)
{
    // A sheet needs no layer to block taps, it covers the whole window; it
    // hides what is below it all the same.
    return window->isModal() || qobject_cast<const MSheet*>(window);
}

MWindow* AccessibleTree::windowOf(const QGraphicsItem* item)
{
    const QGraphicsScene* scene = item->scene();
    if (!scene)
        return nullptr;
    const QList<QGraphicsView*> views = scene->views();
    for (QGraphicsView* view : views) {
        if (auto* window = qobject_cast<MWindow*>(view))
            return window;
    }
    return nullptr;
}

QList<QGraphicsItem*> AccessibleTree::visualOrder(QList<QGraphicsItem*> items)
{
    std::stable_sort(items.begin(), items.end(), [](const QGraphicsItem* a, const QGraphicsItem* b) {
        return a->sceneBoundingRect().top() < b->sceneBoundingRect().top();
    });
    QList<QGraphicsItem*> ordered;
    for (int rowStart = 0; rowStart < items.size();) {
        const QRectF first = items.at(rowStart)->sceneBoundingRect();
        int rowEnd = rowStart + 1;
        while (rowEnd < items.size() && items.at(rowEnd)->sceneBoundingRect().center().y() <= first.bottom())
            ++rowEnd;
        QList<QGraphicsItem*> row = items.mid(rowStart, rowEnd - rowStart);
        std::stable_sort(row.begin(), row.end(), [](const QGraphicsItem* a, const QGraphicsItem* b) {
            return a->sceneBoundingRect().left() < b->sceneBoundingRect().left();
        });
        ordered.append(row);
        rowStart = rowEnd;
    }
    return ordered;
}

QList<QGraphicsWidget*> AccessibleTree::focusChain(const MWindow* window)
{
    const QList<MSceneWindow*> readable = readableSceneWindows(window);
    for (auto it = readable.rbegin(); it != readable.rend(); ++it) {
        QList<QGraphicsItem*> controls;
        collectControls(*it, controls);
        if (controls.isEmpty())
            continue;
        QList<QGraphicsWidget*> chain;
        for (QGraphicsItem* control : visualOrder(controls))
            chain.append(static_cast<QGraphicsWidget*>(control));
        return chain;
    }
    return {};
}

bool AccessibleTree::moveFocus(MWindow* window, bool forward)
{
    const QList<QGraphicsWidget*> chain = focusChain(window);
    if (chain.isEmpty())
        return false;
    const QGraphicsItem* focused = window->scene() ? window->scene()->focusItem() : nullptr;
    const int at = chain.indexOf(static_cast<QGraphicsWidget*>(const_cast<QGraphicsItem*>(focused)));
    int next;
    if (at < 0)
        next = forward ? 0 : chain.size() - 1;
    else
        next = (at + (forward ? 1 : chain.size() - 1)) % chain.size();
    chain.at(next)->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool AccessibleTree::isListening()
{
    return QAccessible::isActive() || inProcessHandler();
}

void AccessibleTree::notify(QObject* object, QAccessible::Event type)
{
    if (!isListening() || !object)
        return;
    QAccessibleEvent event(object, type);
    notify(&event);
}

void AccessibleTree::notify(QAccessibleEvent* event)
{
    QObject* object = event->object();
    if (!object || (!qobject_cast<MWindow*>(object) && role(object) == QAccessible::NoRole))
        return;
    if (QAccessible::isActive())
        QAccessible::updateAccessibility(event);
    else if (QAccessible::UpdateHandler handler = inProcessHandler())
        handler(event);
}

void AccessibleTree::post(QObject* object, QAccessible::Event type)
{
    if (!isListening())
        return;
    // Posted to the object itself: dropped when it is gone by then.
    QMetaObject::invokeMethod(object, [object, type] { notify(object, type); }, Qt::QueuedConnection);
}

void AccessibleTree::labelChanged(MLabel* label)
{
    if (!isListening())
        return;
    for (QGraphicsItem* above = label->parentItem(); above; above = above->parentItem()) {
        auto* owner = qobject_cast<MWidget*>(above->toGraphicsObject());
        if (!qobject_cast<MListItem*>(owner) && !qobject_cast<MSceneWindow*>(owner))
            continue;
        QMetaObject::invokeMethod(owner, [owner] {
            const QPointer<MWidget> alive(owner);
            if (owner->accessibleName().isEmpty())
                notify(owner, QAccessible::NameChanged);
            if (alive && owner->accessibleDescription().isEmpty())
                notify(owner, QAccessible::DescriptionChanged);
        }, Qt::QueuedConnection);
        return;
    }
}

void AccessibleTree::notifyState(QObject* object, QAccessible::State changed, bool later)
{
    if (!isListening())
        return;
    const auto send = [object, changed] {
        QAccessibleStateChangeEvent event(object, changed);
        notify(&event);
    };
    if (later)
        QMetaObject::invokeMethod(object, send, Qt::QueuedConnection);
    else
        send();
}

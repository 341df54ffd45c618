// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef ACCESSIBLETREE_P_H
#define ACCESSIBLETREE_P_H

#include <QAccessible>
#include <QList>

class MLabel;
class MSceneWindow;
class MWindow;
class QGraphicsItem;
class QGraphicsObject;
class QGraphicsWidget;

// How the widgets of a window's scene look to assistive technology: which
// items are nodes of the accessible tree, in which order, under which
// parent, and in which order the keyboard's Tab walks the controls.
//
// A graphics scene has nothing Qt could read, so every node is decided here:
// widgets with a role of their own are nodes; containers only for layout are
// skipped and their contents rise to the nearest node above; hidden items and
// what lies below a modal scene window are not there at all.
class AccessibleTree
{
public:
    // Makes Qt ask the toolkit for the interfaces of its widgets.
    static void install();

    // The role of @p object as a node, or NoRole when it is no node.
    static QAccessible::Role role(const QObject* object);
    // The nodes right below @p object (a window or a node), in reading order.
    static QList<QObject*> children(const QObject* object);
    // The node above @p item: a node among its ancestors, else the window
    // that shows its scene window.
    static QObject* parent(const QGraphicsObject* item);
    // The scene windows of @p window that can be read: the topmost modal one
    // and those above it, else all that are shown; bottom to top.
    static QList<MSceneWindow*> readableSceneWindows(const MWindow* window);
    static bool isModal(const MSceneWindow* window);
    // The window whose scene holds @p item.
    static MWindow* windowOf(const QGraphicsItem* item);

    // Rows top to bottom, each row left to right: items whose vertical middle
    // lies within the first item of a row belong to that row.
    static QList<QGraphicsItem*> visualOrder(QList<QGraphicsItem*> items);
    // What Tab walks through in @p window: the controls of the topmost
    // readable scene window that has any, in visual order.
    static QList<QGraphicsWidget*> focusChain(const MWindow* window);
    // Moves the focus to the next (or previous) control; false when there is none.
    static bool moveFocus(MWindow* window, bool forward);

    // Whether anyone listens: a client through the platform, or a handler
    // installed in the process, which Qt itself only calls while a platform
    // client is active (never, on platforms without accessibility).
    static bool isListening();
    // Tells a listening client of @p type on @p object now, when @p object is
    // a node. The client may delete the object: callers check it afterwards.
    static void notify(QObject* object, QAccessible::Event type);
    static void notify(QAccessibleEvent* event);
    // The same from the event loop, for changes that Qt reports from inside
    // its own bookkeeping, where nobody may delete anything.
    static void post(QObject* object, QAccessible::Event type);
    // A label's new text may be the name or description of the list item or
    // scene window it lies in. Told from the event loop, like a text set on
    // a widget: the code that sets it often goes on with its work.
    static void labelChanged(MLabel* label);
    // A state change: now, or from the event loop with @p later.
    static void notifyState(QObject* object, QAccessible::State changed, bool later = false);
};

#endif

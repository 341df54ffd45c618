// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mscenewindow.h"

#include "accessibletree_p.h"
#include "mwindow.h"
#include "mwindow_p.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsScene>
#include <QMetaObject>

MSceneWindow::MSceneWindow(QGraphicsItem* parent)
    : MWidgetController(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    hide();
}

MSceneWindow::~MSceneWindow()
{
    if (m_window) {
        m_window->d->remove(this);
        m_window->d->known.remove(this);
    }
}

MSceneWindow::SceneWindowState MSceneWindow::sceneWindowState() const
{
    return m_state;
}

MSceneWindow::DeletionPolicy MSceneWindow::deletionPolicy() const
{
    return m_policy;
}

MWindow* MSceneWindow::window() const
{
    return m_window;
}

const char* MSceneWindow::styleClassName() const
{
    return "MSceneWindowStyle";
}

void MSceneWindow::appear(DeletionPolicy policy)
{
    appear(nullptr, policy);
}

void MSceneWindow::appear(MWindow* window, DeletionPolicy policy)
{
    if (!window)
        window = MWindow::activeWindow();
    if (!window) {
        qWarning("MSceneWindow: no window to appear in");
        return;
    }
    if ((m_state == Appearing || m_state == Appeared) && window == m_window) {
        m_policy = policy;
        return;
    }
    // Moving to another window is no end of it: leave the old one under the
    // policy that keeps the object.
    // Receivers of the state changes may delete it: nothing of it is
    // touched after an emission unless it is still there.
    const QPointer<MSceneWindow> self(this);
    const QPointer<MWindow> target(window);
    if (m_state != Disappeared) {
        m_policy = KeepWhenDone;
        disappear();
        if (!self || !target)
            return;
    }
    m_policy = policy;
    if (m_window && m_window != window)
        m_window->d->known.remove(this);
    m_window = window;
    window->d->add(this);
    setState(Appearing);
    if (!self || m_state != Appearing)
        return;
    // The toolkit draws no transition, but like one it completes later.
    QMetaObject::invokeMethod(this, &MSceneWindow::finishAppearing, Qt::QueuedConnection);
}

void MSceneWindow::finishAppearing()
{
    if (m_state != Appearing)
        return;
    const QPointer<MSceneWindow> self(this);
    setState(Appeared);
    if (self && m_state == Appeared)
        Q_EMIT appeared();
}

void MSceneWindow::disappear()
{
    if (m_state == Disappeared)
        return;
    // Decided before anyone hears of it: a receiver may delete the window,
    // or show it again, and the policy of this disappearance is the one now.
    const bool destroy = m_policy == DestroyWhenDone || (m_dismissing && m_policy == DestroyWhenDismissed);
    const QPointer<MSceneWindow> self(this);
    setState(Disappearing);
    if (!self)
        return;
    // Hiding takes the focus from a field inside, which tells its receivers.
    hide();
    if (!self)
        return;
    if (m_window)
        m_window->d->remove(this);
    setState(Disappeared);
    if (!self)
        return;
    Q_EMIT disappeared();
    if (self && destroy && m_state == Disappeared)
        deleteLater();
}

bool MSceneWindow::dismiss()
{
    if (m_state == Disappeared || !dismissEvent())
        return false;
    const QPointer<MSceneWindow> self(this);
    m_dismissing = true;
    disappear();
    if (self)
        m_dismissing = false;
    return true;
}

bool MSceneWindow::dismissEvent()
{
    return true;
}

QRectF MSceneWindow::placement(const QSizeF& size) const
{
    return QRectF(QPointF(0, 0), size);
}

bool MSceneWindow::isModal() const
{
    return false;
}

bool MSceneWindow::event(QEvent* event)
{
    const bool handled = MWidgetController::event(event);
    // Contents that grew or shrank may move a scene window that is not
    // simply as big as its window.
    if (event->type() == QEvent::LayoutRequest && m_window && m_state != Disappeared)
        m_window->d->place(this);
    return handled;
}

void MSceneWindow::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    // Taps on empty parts of a scene window end with it, never below it.
    MWidgetController::mousePressEvent(event);
    event->accept();
}

void MSceneWindow::setState(SceneWindowState state)
{
    const SceneWindowState old = m_state;
    m_state = state;
    if (state == Appearing || state == Disappeared) {
        // A screen reader announces dialogs and banners as they come.
        const QAccessible::Role role = AccessibleTree::role(this);
        const bool dialog = role == QAccessible::Dialog || (role == QAccessible::AlertMessage && isModal());
        QAccessible::Event event;
        if (state == Appearing)
            event = dialog ? QAccessible::DialogStart : role == QAccessible::AlertMessage ? QAccessible::Alert : QAccessible::ObjectShow;
        else
            event = dialog ? QAccessible::DialogEnd : QAccessible::ObjectHide;
        const QPointer<MSceneWindow> self(this);
        AccessibleTree::notify(this, event);
        if (!self)
            return;
    }
    Q_EMIT sceneWindowStateChanged(state, old);
}

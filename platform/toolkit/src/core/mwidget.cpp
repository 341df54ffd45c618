// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidget.h"

#include "accessibletree_p.h"
#include "mbutton.h"
#include "mnamespace.h"
#include "mscenewindow.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>

namespace {

// Types that the toolkit's signals carry, registered by name so that queued
// connections and signal spies can handle them.
void registerTypes()
{
    qRegisterMetaType<M::Orientation>("M::Orientation");
    qRegisterMetaType<M::StandardButton>("M::StandardButton");
    qRegisterMetaType<MButton*>("MButton*");
    qRegisterMetaType<MSceneWindow::SceneWindowState>("MSceneWindow::SceneWindowState");
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(registerTypes)

MWidget::MWidget(QGraphicsItem* parent)
    : QGraphicsWidget(parent)
{
}

MWidget::~MWidget() = default;

bool MWidget::isOnDisplay() const
{
    return m_onDisplay;
}

QString MWidget::accessibleName() const
{
    return m_accessibleName;
}

void MWidget::setAccessibleName(const QString& name)
{
    if (name == m_accessibleName)
        return;
    m_accessibleName = name;
    AccessibleTree::notify(this, QAccessible::NameChanged);
}

QString MWidget::accessibleDescription() const
{
    return m_accessibleDescription;
}

void MWidget::setAccessibleDescription(const QString& description)
{
    if (description == m_accessibleDescription)
        return;
    m_accessibleDescription = description;
    AccessibleTree::notify(this, QAccessible::DescriptionChanged);
}

void MWidget::updateDisplayState()
{
    bool onDisplay = false;
    if (QGraphicsScene* s = scene(); s && isVisible()) {
        const QList<QGraphicsView*> views = s->views();
        for (const QGraphicsView* view : views) {
            if (view->isVisible()) {
                onDisplay = true;
                break;
            }
        }
    }
    if (onDisplay == m_onDisplay)
        return;
    m_onDisplay = onDisplay;
    if (onDisplay)
        Q_EMIT displayEntered();
    else
        Q_EMIT displayExited();
}

QVariant MWidget::itemChange(GraphicsItemChange change, const QVariant& value)
{
    // Qt tells every descendant too when an ancestor changes scene or visibility.
    if (change == ItemSceneHasChanged || change == ItemVisibleHasChanged)
        updateDisplayState();
    // Qt is still at work on the items here: a listener hears of it later.
    if (change == ItemEnabledHasChanged) {
        QAccessible::State disabled;
        disabled.disabled = true;
        AccessibleTree::notifyState(this, disabled, true);
    } else if (change == ItemChildAddedChange || change == ItemChildRemovedChange) {
        AccessibleTree::post(this, QAccessible::ObjectReorder);
    }
    return QGraphicsWidget::itemChange(change, value);
}

void MWidget::focusInEvent(QFocusEvent* event)
{
    QGraphicsWidget::focusInEvent(event);
    // The focus frame.
    update();
    // Told from the event loop: the scene is still moving the focus here, and
    // a listener may delete anything, up to the window. Only if it stayed.
    if (AccessibleTree::isListening()) {
        QMetaObject::invokeMethod(this, [this] {
            if (hasFocus())
                AccessibleTree::notify(this, QAccessible::Focus);
        }, Qt::QueuedConnection);
    }
}

void MWidget::focusOutEvent(QFocusEvent* event)
{
    QGraphicsWidget::focusOutEvent(event);
    update();
}

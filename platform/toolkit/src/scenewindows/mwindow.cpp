// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwindow.h"

#include "accessibletree_p.h"
#include "mlayout.h"
#include "mscenewindow.h"
#include "mtheme.h"
#include "mwidget.h"
#include "mwindow_p.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

namespace {

// Shown windows, the most recently shown last.
QList<QPointer<MWindow>>& shownWindows()
{
    static QList<QPointer<MWindow>> windows;
    return windows;
}

MWindow* systemwide = nullptr;

} // namespace

ModalLayer::ModalLayer()
{
    setAcceptedMouseButtons(Qt::AllButtons);
    setVisible(false);
}

void ModalLayer::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->fillRect(rect(), MTheme::style("MWindowStyle")->colorAttribute(QStringLiteral("modal-layer-color")));
}

void ModalLayer::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    event->accept();
}

MWindowPrivate::MWindowPrivate(MWindow* q)
    : q(q)
    , scene(new QGraphicsScene(q))
    , modalLayer(new ModalLayer)
{
    scene->addItem(modalLayer);
}

void MWindowPrivate::add(MSceneWindow* window)
{
    known.insert(window);
    sceneWindows.removeAll(window);
    sceneWindows.append(window);
    if (window->scene() != scene) {
        if (window->scene())
            window->scene()->removeItem(window);
        scene->addItem(window);
    }
    window->show();
    place(window);
    restack();
    if (systemwide && !q->isVisible())
        q->show();
}

void MWindowPrivate::remove(MSceneWindow* window)
{
    sceneWindows.removeAll(window);
    if (window->scene() == scene)
        scene->removeItem(window);
    restack();
    if (systemwide && sceneWindows.isEmpty())
        q->hide();
}

void MWindowPrivate::place(MSceneWindow* window)
{
    window->setGeometry(window->placement(scene->sceneRect().size()));
}

void MWindowPrivate::restack()
{
    // Each scene window above the ones shown before it; the modal layer just
    // below the topmost modal one.
    qreal z = 10;
    MSceneWindow* topModal = nullptr;
    for (MSceneWindow* window : qAsConst(sceneWindows)) {
        window->setZValue(z);
        z += 10;
        if (window->isModal())
            topModal = window;
    }
    modalLayer->setGeometry(scene->sceneRect());
    modalLayer->setVisible(topModal != nullptr);
    if (topModal)
        modalLayer->setZValue(topModal->zValue() - 1);
}

void MWindowPrivate::updateDisplayStates()
{
    const QList<QGraphicsItem*> items = scene->items();
    for (QGraphicsItem* item : items) {
        if (auto* widget = qobject_cast<MWidget*>(item->toGraphicsObject()))
            widget->updateDisplayState();
    }
}

MWindow::MWindow(QWidget* parent)
    : QGraphicsView(parent)
    , d(new MWindowPrivate(this))
{
    setScene(d->scene);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setBackgroundBrush(MTheme::style("MWindowStyle")->backgroundColor());
    d->scene->setSceneRect(0, 0, 1, 1);
    AccessibleTree::install();
}

MWindow::~MWindow()
{
    // Scene windows belong to their creators, not to the scene: take them out
    // before the scene goes.
    for (MSceneWindow* window : qAsConst(d->known)) {
        if (window->scene() == d->scene)
            d->scene->removeItem(window);
        window->m_window = nullptr;
        window->m_state = MSceneWindow::Disappeared;
    }
    shownWindows().removeAll(this);
    if (systemwide == this)
        systemwide = nullptr;
    delete d;
}

M::Orientation MWindow::orientation() const
{
    return d->orientation;
}

QList<MSceneWindow*> MWindow::sceneWindows() const
{
    return d->sceneWindows;
}

MWindow* MWindow::systemwideWindow()
{
    if (!systemwide) {
        // Widgets need a QApplication; without one there is nowhere to show anything.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            qWarning("MWindow: the application is no QApplication; nothing can be shown");
            return nullptr;
        }
        systemwide = new MWindow;
        systemwide->d->systemwide = true;
        systemwide->setWindowTitle(QStringLiteral("System"));
        systemwide->resize(480, 854);
    }
    return systemwide;
}

MWindow* MWindow::activeWindow()
{
    const QList<QPointer<MWindow>>& windows = shownWindows();
    for (int i = windows.size() - 1; i >= 0; --i) {
        if (windows.at(i) && windows.at(i)->isVisible() && windows.at(i) != systemwide)
            return windows.at(i);
    }
    return systemwideWindow();
}

bool MWindow::event(QEvent* event)
{
    // Tab walks the controls of the top scene window in the order they are
    // seen, not in the order they were made, and never below a modal one.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            if (AccessibleTree::moveFocus(this, forward))
                return true;
        }
    }
    return QGraphicsView::event(event);
}

void MWindow::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    const QSize size = viewport()->size();
    d->scene->setSceneRect(0, 0, size.width(), size.height());
    for (MSceneWindow* window : qAsConst(d->sceneWindows))
        d->place(window);
    d->restack();

    const M::Orientation orientation = size.height() > size.width() ? M::Portrait : M::Landscape;
    if (orientation != d->orientation) {
        d->orientation = orientation;
        // Layouts with a policy per orientation choose again.
        const QList<QGraphicsItem*> items = d->scene->items();
        for (QGraphicsItem* item : items) {
            if (!item->isWidget())
                continue;
            if (auto* layout = dynamic_cast<MLayout*>(static_cast<QGraphicsWidget*>(item)->layout()))
                layout->invalidate();
        }
        Q_EMIT orientationChanged(orientation);
    }
}

void MWindow::showEvent(QShowEvent* event)
{
    QGraphicsView::showEvent(event);
    shownWindows().removeAll(this);
    shownWindows().append(this);
    d->updateDisplayStates();
}

void MWindow::hideEvent(QHideEvent* event)
{
    QGraphicsView::hideEvent(event);
    shownWindows().removeAll(this);
    d->updateDisplayStates();
}

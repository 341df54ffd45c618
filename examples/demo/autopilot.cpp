// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#include "autopilot.h"

#include <MWindow>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGraphicsItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

void Autopilot::tap(const QGraphicsItem* item) const
{
    const QPoint at = window->mapFromScene(item->sceneBoundingRect().center());
    QWidget* viewport = window->viewport();
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    QCoreApplication::processEvents();
}

void Autopilot::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    const QString text = key == Qt::Key_Return && modifiers == Qt::NoModifier ? QStringLiteral("\r") : QString();
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(window->viewport(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(window->viewport(), &up);
    QCoreApplication::processEvents();
}

void Autopilot::swipe(const QGraphicsItem* item, int dy) const
{
    QWidget* viewport = window->viewport();
    const QPoint from = window->mapFromScene(item->sceneBoundingRect().center());
    const int steps = 8;
    QMouseEvent press(QEvent::MouseButtonPress, from, viewport->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QPoint at = from;
    for (int i = 1; i <= steps; ++i) {
        at = from + QPoint(0, dy * i / steps);
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    QCoreApplication::processEvents();
}

void Autopilot::type(const QString& text) const
{
    for (const QChar c : text) {
        const int key = c.isLetterOrNumber() && c.unicode() < 128 ? c.toUpper().unicode() : 0;
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(window->viewport(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(window->viewport(), &up);
    }
    QCoreApplication::processEvents();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeoutMs));
    while (!done()) {
        if (deadline.hasExpired() || QCoreApplication::closingDown())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#ifndef PAVANE_DEMO_AUTOPILOT_H
#define PAVANE_DEMO_AUTOPILOT_H

#include <QString>
#include <Qt>
#include <functional>

class MWindow;
class QGraphicsItem;

// The person in a headless run: taps and keys go through the window's
// viewport exactly as a touch screen and a keyboard would send them, so the
// widgets see nothing different from a real user.
class Autopilot
{
public:
    explicit Autopilot(MWindow* window) : window(window) {}

    void tap(const QGraphicsItem* item) const;
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // Drags from @p item's centre by @p dy pixels, as a finger scrolling a page.
    void swipe(const QGraphicsItem* item, int dy) const;
    void type(const QString& text) const;

private:
    MWindow* window;
};

// Runs the event loop until @p done holds, for at most @p timeoutMs
// milliseconds (forever when negative, as long as the application runs).
// False when the time ran out first.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// Runs the event loop for @p ms milliseconds.
void settle(int ms);

#endif

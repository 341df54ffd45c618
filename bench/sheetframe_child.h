// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_BENCH_SHEETFRAME_CHILD_H
#define PAVANE_BENCH_SHEETFRAME_CHILD_H

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <cstdlib>

// The offscreen platform says on every window that it cannot pass size hints
// on; that line on every run would only bury the figures. Everything else
// still goes to the default handler.
inline void quietenSizeHintNotice()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QLatin1String("does not support propagateSizeHints()")))
            return;
        if (previous)
            previous(type, context, text);
    });
}

// The end of a child of bench_sheetframe: once the widget it watches has
// had its first paint event, and the pass of the event loop that painted and
// flushed the whole window is over, the child prints the monotonic time and
// exits at once. With SHEETFRAME_SNAPSHOT=file it first saves the window as it
// is then, to look at what the frame held.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWidget* painted, QWidget* window)
        : painted(painted)
        , window(window)
    {
        quietenSizeHintNotice();
        painted->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == painted && event->type() == QEvent::Paint && !seen) {
            seen = true;
            QMetaObject::invokeMethod(this, [this] { finish(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void finish()
    {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const QByteArray snapshot = qgetenv("SHEETFRAME_SNAPSHOT");
        if (!snapshot.isEmpty())
            window->grab().save(QString::fromLocal8Bit(snapshot));
        std::printf("%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stdout);
        // Nothing after the frame counts, teardown included.
        std::_Exit(0);
    }

    QWidget* painted;
    QWidget* window;
    bool seen = false;
};

#endif

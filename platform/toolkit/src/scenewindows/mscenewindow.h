// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MSCENEWINDOW_H
#define MSCENEWINDOW_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

#include <QPointer>

class MWindow;

// A widget that appears in a window as a whole: a sheet, a dialog, a banner.
//
// appear() puts it on screen: its state becomes Appearing at once and
// Appeared on the next pass of the event loop (the toolkit has no
// animations, but callers must not rely on that). disappear() takes it off
// screen at once; with the deletion policy DestroyWhenDone it is then
// deleted (later, from the event loop). dismiss() is a disappearance that
// the widget may refuse; with DestroyWhenDismissed a dismissed window is
// deleted too.
class TT_EXPORT MSceneWindow : public MWidgetController
{
    Q_OBJECT

public:
    enum SceneWindowState { Appearing = 0, Appeared = 1, Disappearing = 2, Disappeared = 3 };
    Q_ENUM(SceneWindowState)
    enum DeletionPolicy { KeepWhenDone = 0, DestroyWhenDone = 1, DestroyWhenDismissed = 2 };
    Q_ENUM(DeletionPolicy)

    explicit MSceneWindow(QGraphicsItem* parent = nullptr);
    ~MSceneWindow() override;

    SceneWindowState sceneWindowState() const;
    DeletionPolicy deletionPolicy() const;
    // The window it is shown in, or was last shown in.
    MWindow* window() const;

    // Shows it in @p window; a null window means MWindow::activeWindow().
    // Showing it again while it is shown only updates the policy.
    virtual void appear(MWindow* window, DeletionPolicy policy = KeepWhenDone);
    void appear(DeletionPolicy policy = KeepWhenDone);
    virtual void disappear();
    // Asks it to go away; returns whether it went.
    bool dismiss();

    const char* styleClassName() const override;

Q_SIGNALS:
    void appeared();
    void disappeared();
    void sceneWindowStateChanged(MSceneWindow::SceneWindowState newState,
                                 MSceneWindow::SceneWindowState oldState);

protected:
    // Whether a dismissal may proceed; the default allows it.
    virtual bool dismissEvent();
    // Where it goes in a window of @p size: the default fills the window.
    virtual QRectF placement(const QSizeF& size) const;
    // Whether taps on what lies below it are blocked while it is shown.
    virtual bool isModal() const;
    bool event(QEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    friend class MWindow;
    friend class MWindowPrivate;
    friend class AccessibleTree;
    void setState(SceneWindowState state);
    void finishAppearing();

    SceneWindowState m_state = Disappeared;
    DeletionPolicy m_policy = KeepWhenDone;
    QPointer<MWindow> m_window;
    bool m_dismissing = false;
};

#endif

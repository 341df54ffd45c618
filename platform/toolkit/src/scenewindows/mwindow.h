// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MWINDOW_H
#define MWINDOW_H

#include "tesseltouchcore_export.h"
#include "mnamespace.h"

#include <QGraphicsView>
#include <QList>

class MSceneWindow;
class MWindowPrivate;

// A window showing one scene of toolkit widgets. Scene windows (sheets,
// dialogs, banners) appear in it, stacked in the order they appeared: sheets
// fill it, dialogs stand centred above a layer that takes the taps for
// everything below, banners sit at the top. The window is in portrait
// orientation when it is taller than wide.
//
// A process-wide window, systemwideWindow(), holds what is shown above all
// applications (system-wide sheets, system dialogs); it shows itself while
// it holds something.
class TT_EXPORT MWindow : public QGraphicsView
{
    Q_OBJECT

public:
    explicit MWindow(QWidget* parent = nullptr);
    ~MWindow() override;

    M::Orientation orientation() const;

    // The scene windows shown here, bottom to top.
    QList<MSceneWindow*> sceneWindows() const;

    // The window for system-wide sheets and system dialogs, created on first use.
    static MWindow* systemwideWindow();
    // The window that scene windows shown without a window go to: the most
    // recently shown visible window, else the system-wide one.
    static MWindow* activeWindow();

Q_SIGNALS:
    void orientationChanged(M::Orientation orientation);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class MSceneWindow;
    MWindowPrivate* const d;
};

#endif

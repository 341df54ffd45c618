// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MSHEET_H
#define MSHEET_H

#include "tesseltouchcore_export.h"
#include "mscenewindow.h"

#include <QPointer>

class QGraphicsLinearLayout;

// A full-window scene window with a header widget above a central widget.
// It appears in a window, or system-wide in MWindow::systemwideWindow().
// Setting a new header or central widget deletes the one before.
class TT_EXPORT MSheet : public MSceneWindow
{
    Q_OBJECT

public:
    explicit MSheet(QGraphicsItem* parent = nullptr);
    ~MSheet() override;

    QGraphicsWidget* centralWidget() const;
    void setCentralWidget(QGraphicsWidget* widget);
    QGraphicsWidget* headerWidget() const;
    void setHeaderWidget(QGraphicsWidget* widget);
    bool isHeaderVisible() const;
    void setHeaderVisible(bool visible);

    void appearSystemwide(MSceneWindow::DeletionPolicy policy = KeepWhenDone);
    bool isStatusBarVisibleInSystemwide() const;
    // Whether a status bar strip stands above the sheet when it is shown system-wide.
    void setStatusBarVisibleInSystemwide(bool visible);

    const char* styleClassName() const override;

private:
    void rebuild();

    QPointer<QGraphicsWidget> m_header;
    QPointer<QGraphicsWidget> m_central;
    QGraphicsWidget* m_statusBar = nullptr;
    QGraphicsLinearLayout* m_layout = nullptr;
    bool m_headerVisible = true;
    bool m_statusBarInSystemwide = false;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MWINDOW_P_H
#define MWINDOW_P_H

#include "mnamespace.h"

#include <QGraphicsWidget>
#include <QList>
#include <QSet>

class MSceneWindow;
class MWindow;

// Takes every tap on what lies below the modal scene window above it, and
// dims it.
class ModalLayer : public QGraphicsWidget
{
public:
    ModalLayer();
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
};

class MWindowPrivate
{
public:
    explicit MWindowPrivate(MWindow* q);

    void add(MSceneWindow* window);
    void remove(MSceneWindow* window);
    void place(MSceneWindow* window);
    void restack();
    void updateDisplayStates();

    MWindow* q;
    QGraphicsScene* scene;
    ModalLayer* modalLayer;
    QList<MSceneWindow*> sceneWindows;
    // Every scene window ever shown here, so that they can be told when the
    // window goes.
    QSet<MSceneWindow*> known;
    M::Orientation orientation = M::Landscape;
    bool systemwide = false;
};

#endif

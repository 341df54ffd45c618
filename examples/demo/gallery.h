// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#ifndef PAVANE_DEMO_GALLERY_H
#define PAVANE_DEMO_GALLERY_H

#include <QList>
#include <QString>

class QImage;
class QWidget;

// One picture per step of the run, and an index.html that shows them in
// order, each with its caption and whether the step reached its outcome.
class Gallery
{
public:
    explicit Gallery(const QString& directory);

    bool isUsable() const { return usable; }
    QString directory() const { return dir; }

    // Renders @p window into the next numbered PNG, and writes next to it
    // (step-NN.accessible.txt) @p accessibleTree, what a screen reader finds
    // on that screen.
    void capture(QWidget* window, const QString& title, const QString& caption, const QString& accessibleTree);
    void capture(const QImage& image, const QString& title, const QString& caption, const QString& accessibleTree);
    // Marks the last captured step as failed, with the reason.
    void markFailed(const QString& reason);
    // Writes index.html and overview.png; @p transcriptFile, when not
    // empty, is linked from the page.
    bool writeIndex(const QString& transcriptFile) const;

private:
    bool writeOverview() const;

    struct Picture {
        QString file;
        QString treeFile;
        QString title;
        QString caption;
        QString failure;
    };

    QString dir;
    bool usable;
    QList<Picture> pictures;
};

#endif

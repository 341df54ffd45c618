// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#include "gallery.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>
#include <QWidget>

Gallery::Gallery(const QString& directory)
    : dir(QDir(directory).absolutePath())
    , usable(QDir().mkpath(dir))
{
}

void Gallery::capture(QWidget* window, const QString& title, const QString& caption, const QString& accessibleTree)
{
    capture(window->grab().toImage(), title, caption, accessibleTree);
}

void Gallery::capture(const QImage& image, const QString& title, const QString& caption,
                      const QString& accessibleTree)
{
    Picture picture;
    const QString step = QStringLiteral("step-%1").arg(pictures.size() + 1, 2, 10, QLatin1Char('0'));
    picture.file = step + QStringLiteral(".png");
    picture.treeFile = step + QStringLiteral(".accessible.txt");
    picture.title = title;
    picture.caption = caption;
    if (!image.save(dir + QLatin1Char('/') + picture.file))
        picture.failure = QStringLiteral("the picture could not be written");
    QSaveFile tree(dir + QLatin1Char('/') + picture.treeFile);
    if (!tree.open(QIODevice::WriteOnly | QIODevice::Text) || tree.write(accessibleTree.toUtf8()) < 0
        || !tree.commit())
        picture.failure = QStringLiteral("the accessible tree could not be written");
    pictures.append(picture);
}

void Gallery::markFailed(const QString& reason)
{
    if (!pictures.isEmpty())
        pictures.last().failure = reason;
}

// All pictures at half size, four to a row, for a first look.
bool Gallery::writeOverview() const
{
    const int perRow = 4;
    const QSize cell(240, 427);
    const int gap = 8;
    const int rows = (pictures.size() + perRow - 1) / perRow;
    if (rows == 0)
        return false;
    QImage overview(perRow * (cell.width() + gap) + gap, rows * (cell.height() + gap) + gap,
                    QImage::Format_RGB32);
    overview.fill(QColor(0xfa, 0xfa, 0xfa));
    QPainter painter(&overview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < pictures.size(); ++i) {
        const QImage picture(dir + QLatin1Char('/') + pictures.at(i).file);
        const QPoint at(gap + (i % perRow) * (cell.width() + gap), gap + (i / perRow) * (cell.height() + gap));
        painter.drawImage(QRect(at, cell), picture);
    }
    painter.end();
    return overview.save(dir + QStringLiteral("/overview.png"));
}

bool Gallery::writeIndex(const QString& transcriptFile) const
{
    writeOverview();
    QSaveFile file(dir + QStringLiteral("/index.html"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
           "<title>libpavanedlg demo</title>\n<style>\n"
           "body { font-family: sans-serif; background: #fafafa; margin: 2em; }\n"
           "figure { display: inline-block; vertical-align: top; width: 500px; margin: 0 1.5em 2em 0; }\n"
           "img { border: 1px solid #bbb; width: 480px; }\n"
           "figcaption { margin-top: .5em; }\n"
           ".failed { color: #b00020; font-weight: bold; }\n"
           "</style></head><body>\n<h1>libpavanedlg: a dialog service's road</h1>\n";
    out << "<p>All steps at a glance: <a href=\"overview.png\">overview.png</a></p>\n";
    if (!transcriptFile.isEmpty())
        out << "<p>D-Bus traffic and store writes of this run: <a href=\"" << transcriptFile.toHtmlEscaped()
            << "\">" << transcriptFile.toHtmlEscaped() << "</a></p>\n";
    for (const Picture& p : pictures) {
        out << "<figure><img src=\"" << p.file << "\" alt=\"" << p.title.toHtmlEscaped() << "\">\n"
            << "<figcaption><b>" << p.title.toHtmlEscaped() << "</b><br>" << p.caption.toHtmlEscaped()
            << "<br><a href=\"" << p.treeFile << "\">What a screen reader finds here</a>";
        if (!p.failure.isEmpty())
            out << "<br><span class=\"failed\">Failed: " << p.failure.toHtmlEscaped() << "</span>";
        out << "</figcaption></figure>\n";
    }
    out << "</body></html>\n";
    out.flush();
    return file.commit();
}

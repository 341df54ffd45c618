#include "gallery.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <QWidget>

Gallery::Gallery(const QString& directory)
    : dir(QDir(directory).absolutePath())
    , usable(QDir().mkpath(dir))
{
}

void Gallery::capture(QWidget* window, const QString& title, const QString& caption)
{
    Picture picture;
    picture.file = QStringLiteral("step-%1.png").arg(pictures.size() + 1, 2, 10, QLatin1Char('0'));
    picture.title = title;
    picture.caption = caption;
    const QImage image = window->grab().toImage();
    if (!image.save(dir + QLatin1Char('/') + picture.file))
        picture.failure = QStringLiteral("the picture could not be written");
    pictures.append(picture);
}

void Gallery::markFailed(const QString& reason)
{
    if (!pictures.isEmpty())
        pictures.last().failure = reason;
}

bool Gallery::writeIndex(const QString& transcriptFile) const
{
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
    if (!transcriptFile.isEmpty())
        out << "<p>D-Bus traffic and store writes of this run: <a href=\"" << transcriptFile.toHtmlEscaped()
            << "\">" << transcriptFile.toHtmlEscaped() << "</a></p>\n";
    for (const Picture& p : pictures) {
        out << "<figure><img src=\"" << p.file << "\" alt=\"" << p.title.toHtmlEscaped() << "\">\n"
            << "<figcaption><b>" << p.title.toHtmlEscaped() << "</b><br>" << p.caption.toHtmlEscaped();
        if (!p.failure.isEmpty())
            out << "<br><span class=\"failed\">Failed: " << p.failure.toHtmlEscaped() << "</span>";
        out << "</figcaption></figure>\n";
    }
    out << "</body></html>\n";
    out.flush();
    return file.commit();
}

// MimeTypeResolver against glob files written here and against the one that
// shared-mime-info installs, and the icon table.
#include <Pavane/MimeTypeResolver>

#include "content/mimetyperesolver_p.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Pavane::MimeTypeResolver;

namespace {

const QByteArray Rules =
    "# globs2 of the test\n"
    "\n"
    "50:image/jpeg:*.jpg\n"
    "50:application/x-compressed-tar:*.tar.gz\n"
    "50:application/gzip:*.gz\n"
    "50:text/x-makefile:makefile\n"
    "50:text/x-c++src:*.C:cs\n"
    "50:text/x-core:core:cs\n"
    "10:text/x-csrc:*.c\n"
    "10:text/x-manual:*.[1-9]\n"
    "onlyonefield\n"
    "10:application/x-last:*.last"; // no newline at the end

QString resolve(const QString& path)
{
    return MimeTypeResolver::mimeTypeForFilePath(path);
}

} // namespace

class TestMimeTypeResolver : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString globs;

    void writeGlobs(const QByteArray& content)
    {
        QFile file(globs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private Q_SLOTS:
    void init()
    {
        globs = dir.filePath(QStringLiteral("globs2"));
        writeGlobs(Rules);
        Pavane::MimeTypeResolverInternal::setGlobFilePath(globs);
    }

    void byName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::newRow("case of the name ignored") << "/tmp/PHOTO.JPG" << "image/jpeg";
        QTest::newRow("literal name") << "Makefile" << "text/x-makefile";
        QTest::newRow("case-sensitive rule") << "main.C" << "text/x-c++src";
        QTest::newRow("case-sensitive rule, other case") << "main.c" << "text/x-csrc";
        QTest::newRow("flags are no glob") << "cs" << "application/octet-stream";
        QTest::newRow("case-sensitive literal") << "core" << "text/x-core";
        QTest::newRow("case-sensitive literal, other case") << "CORE" << "application/octet-stream";
        QTest::newRow("pattern") << "page.3" << "text/x-manual";
        QTest::newRow("the last line, without newline") << "file.last" << "application/x-last";
        QTest::newRow("a line with one field") << "onlyonefield" << "application/octet-stream";
        QTest::newRow("directories play no part") << "/a.jpg/readme" << "application/octet-stream";
        QTest::newRow("no name") << "/some/dir/" << "application/octet-stream";
    }

    void byName()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        QCOMPARE(resolve(path), type);
        QCOMPARE(resolve(path), type); // and again, from what was found
    }

    void theCacheComesFirst()
    {
        QCOMPARE(resolve(QStringLiteral("y.gz")), QStringLiteral("application/gzip"));
        // "*.tar.gz" stands earlier in the file, but "*.gz" is known already.
        QCOMPARE(resolve(QStringLiteral("x.tar.gz")), QStringLiteral("application/gzip"));
        QCOMPARE(resolve(QStringLiteral("page.4")), QStringLiteral("text/x-manual"));
        QCOMPARE(resolve(QStringLiteral("page.5")), QStringLiteral("text/x-manual"));

        // A known type needs no file any more.
        QVERIFY(QFile::remove(globs));
        QCOMPARE(resolve(QStringLiteral("more.JPG")), QString());
        QCOMPARE(resolve(QStringLiteral("z.gz")), QStringLiteral("application/gzip"));
        QCOMPARE(resolve(QStringLiteral("page.9")), QStringLiteral("text/x-manual"));
    }

    void unknownNamesReadTheFileAgain()
    {
        QCOMPARE(resolve(QStringLiteral("data.xyz")), QStringLiteral("application/octet-stream"));
        writeGlobs(Rules + "\n50:application/x-xyz:*.xyz\n");
        QCOMPARE(resolve(QStringLiteral("data.xyz")), QStringLiteral("application/x-xyz"));
    }

    void withoutAGlobFile()
    {
        Pavane::MimeTypeResolverInternal::setGlobFilePath(dir.filePath(QStringLiteral("missing")));
        QVERIFY(resolve(QStringLiteral("a.jpg")).isNull());
        Pavane::MimeTypeResolverInternal::setGlobFilePath(dir.path()); // a folder cannot be read as one
        QVERIFY(resolve(QStringLiteral("a.jpg")).isNull());
    }

    void theInstalledGlobFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("pdf") << "report.pdf" << "application/pdf";
        QTest::newRow("jpeg in capitals") << "PHOTO.JPG" << "image/jpeg";
        QTest::newRow("png") << "icon.png" << "image/png";
        QTest::newRow("vcard") << "card.vcf" << "text/vcard";
        QTest::newRow("mp3") << "song.mp3" << "audio/mpeg";
        QTest::newRow("makefile") << "Makefile" << "text/x-makefile";
        QTest::newRow("unknown") << "data.nothingknown" << "application/octet-stream";
    }

    void theInstalledGlobFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        Pavane::MimeTypeResolverInternal::setGlobFilePath(QStringLiteral("/usr/share/mime/globs2"));
        QCOMPARE(resolve(name), type);
        QCOMPARE(resolve(QStringLiteral("/elsewhere/") + name), type);
    }

    void icons_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("icon");
        QTest::newRow("pdf in capitals") << "/x/file" << "Application/PDF" << "icon-m-content-pdf-inverse";
        QTest::newRow("x-pdf") << "f" << "application/x-pdf" << "icon-m-content-pdf-inverse";
        QTest::newRow("word") << "f" << "application/msword" << "icon-m-content-word-inverse";
        QTest::newRow("excel") << "f" << "application/vnd.ms-excel" << "icon-m-content-excel-inverse";
        QTest::newRow("powerpoint") << "f" << "application/vnd.ms-powerpoint" << "icon-m-content-powerpoint-inverse";
        QTest::newRow("vcard") << "f" << "application/vcard" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("image without subtype") << "f" << "image" << "icon-m-content-image-inverse";
        QTest::newRow("video") << "f" << "video/mp4" << "icon-m-content-videos-inverse";
        QTest::newRow("audio") << "f" << "audio/mpeg" << "icon-m-content-audio-inverse";
        QTest::newRow("text vcard") << "f" << "text/x-vcard" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("VCF extension") << "/home/card.VCF" << "text/plain" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("jpeg extension") << "p.jpeg" << "application/octet-stream" << "icon-m-content-image-inverse";
        QTest::newRow("application without subtype") << "a.gif" << "application" << "icon-m-content-image-inverse";
        QTest::newRow("dot in a directory") << "/home/user/dir.d/file" << "" << "icon-m-content-file-unknown-inverse";
        QTest::newRow("no dot") << "/home/user/file" << "" << "icon-m-content-file-unknown-inverse";
        QTest::newRow("parameters stay in the subtype") << "f" << "application/pdf; x=y" << "icon-m-content-file-unknown-inverse";
        QTest::newRow("not trimmed") << "f.txt" << " application/pdf" << "icon-m-content-file-unknown-inverse";
    }

    void icons()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        QFETCH(QString, icon);
        QCOMPARE(MimeTypeResolver::iconForFileAndMimeType(path, type), icon);
    }
};

QTEST_GUILESS_MAIN(TestMimeTypeResolver)
#include "tst_mimetyperesolver.moc"

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
    "#50:text/x-commented:*.hash\n"
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
        QTest::newRow("case-sensitive literal, other case") << "CORE" << "application/octet-stream";
        QTest::newRow("pattern") << "page.3" << "text/x-manual";
        QTest::newRow("the last line, without newline") << "file.last" << "application/x-last";
        QTest::newRow("a line with one field") << "onlyonefield" << "application/octet-stream";
        QTest::newRow("commented out") << "a.hash" << "application/octet-stream";
    }

    void byName()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        QCOMPARE(resolve(path), type);
        QCOMPARE(resolve(path), type); // and again, from what was found
    }

    // Found types are kept and answer first; anything else reads the file again.
    void theCacheComesFirst()
    {
        QCOMPARE(resolve(QStringLiteral("y.gz")), QStringLiteral("application/gzip"));
        // "*.tar.gz" stands earlier in the file, but "*.gz" is known already.
        QCOMPARE(resolve(QStringLiteral("x.tar.gz")), QStringLiteral("application/gzip"));
        QCOMPARE(resolve(QStringLiteral("data.xyz")), QStringLiteral("application/octet-stream"));
        writeGlobs(Rules + "\n50:application/x-xyz:*.xyz\n");
        QCOMPARE(resolve(QStringLiteral("data.xyz")), QStringLiteral("application/x-xyz"));

        QVERIFY(QFile::remove(globs));
        QCOMPARE(resolve(QStringLiteral("z.gz")), QStringLiteral("application/gzip"));
        // Without a file to read there is no answer at all.
        QVERIFY(resolve(QStringLiteral("more.JPG")).isNull());
        Pavane::MimeTypeResolverInternal::setGlobFilePath(dir.path()); // a folder cannot be read as one
        QVERIFY(resolve(QStringLiteral("a.jpg")).isNull());
    }

    void theInstalledGlobFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("pdf") << "report.pdf" << "application/pdf";
        QTest::newRow("jpeg in capitals") << "PHOTO.JPG" << "image/jpeg";
        QTest::newRow("vcard") << "card.vcf" << "text/vcard";
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

    // By the type first, then by what follows the path's last dot.
    void icons_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("icon");
        QTest::newRow("pdf in capitals") << "/x/file" << "Application/PDF" << "icon-m-content-pdf-inverse";
        QTest::newRow("vcard") << "f" << "application/vcard" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("image without subtype") << "f" << "image" << "icon-m-content-image-inverse";
        QTest::newRow("VCF extension") << "/home/card.VCF" << "text/plain" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("jpeg extension") << "p.jpeg" << "application/octet-stream" << "icon-m-content-image-inverse";
        QTest::newRow("dot in a directory") << "/home/user/dir.d/file" << "" << "icon-m-content-file-unknown-inverse";
        QTest::newRow("parameters stay in the subtype") << "f" << "application/pdf; x=y" << "icon-m-content-file-unknown-inverse";
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

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// MimeTypeResolver against glob files written here and against the one that
// shared-mime-info installs, and the icon table.
#include <Pavane/MimeTypeResolver>

#include "content/mimetyperesolver_p.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

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

const QString OctetStream = QStringLiteral("application/octet-stream");

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

    void writeGlobs(const QByteArray& content, const QDateTime& modified = QDateTime(), const QString& path = QString())
    {
        QFile file(path.isEmpty() ? globs : path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush());
        QVERIFY(modified.isNull() || file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

private Q_SLOTS:
    void init()
    {
        globs = dir.filePath(QStringLiteral("globs2"));
        writeGlobs(Rules);
        Pavane::MimeTypeResolverInternal::setGlobFilePath(globs);
    }

    // Found types are kept and answer first, before any rule of the file.
    void theCacheComesFirst()
    {
        QCOMPARE(resolve(QStringLiteral("y.gz")), QStringLiteral("application/gzip"));
        // "*.tar.gz" stands earlier in the file, but "*.gz" is known already.
        QCOMPARE(resolve(QStringLiteral("x.tar.gz")), QStringLiteral("application/gzip"));
        QCOMPARE(resolve(QStringLiteral("e.c")), QStringLiteral("text/x-csrc"));
        QCOMPARE(resolve(QStringLiteral("main.C")), QStringLiteral("text/x-csrc")); // and not its own "*.C"
        // The cache takes the same case rule as the file.
        QCOMPARE(resolve(QStringLiteral("makefile")), QStringLiteral("text/x-makefile"));
        QCOMPARE(resolve(QStringLiteral("MA") + QChar(0x212A) + QStringLiteral("EFILE")), QStringLiteral("application/octet-stream"));
        QVERIFY(QFile::remove(globs));
        QCOMPARE(resolve(QStringLiteral("z.gz")), QStringLiteral("application/gzip"));
    }

    // Unless a type in the cache comes first, every answer is the first
    // matching rule's, whatever was asked before, and stays so.
    void anyOrderOfQuestions()
    {
        // ASCII letters match in either case, every other character only
        // itself: a KELVIN SIGN is no "k", a DOTTED CAPITAL I no "i".
        const QVector<QPair<QString, QString>> answers{
            {"/tmp/PHOTO.JPG", "image/jpeg"}, {"x.tar.gz", "application/x-compressed-tar"}, {"Makefile", "text/x-makefile"},
            {"MA" + QString(QChar(0x212A)) + "EFILE", OctetStream}, {"MAKEF" + QString(QChar(0x0130)) + "LE", OctetStream},
            {"main.C", "text/x-c++src"}, {"CORE", OctetStream}, {"page.3", "text/x-manual"}, {"a.hash", OctetStream},
            {"file.last", "application/x-last"}, {"onlyonefield", OctetStream}, {"cs", OctetStream}};
        for (const int step : {1, 5, 7, 11}) { // coprime to the count: every name, twice
            init();
            for (int i = 0; i < 2 * answers.size(); ++i) {
                const QPair<QString, QString>& answer = answers.at(i * step % answers.size());
                QCOMPARE(resolve(answer.first), answer.second);
            }
        }
    }

    // The file is read again when it has changed, however it changed; only
    // rules not in the cache can tell. Times an hour apart, so that every
    // file system tells them apart.
    void globFileChanges_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("type");
        const QByteArray pdf = Rules + "\n50:application/pdf:*.pdf\n";
        const QByteArray pdX = QByteArray(pdf).replace("/pdf", "/pdX");
        QTest::newRow("type added") << Rules << pdf << "rewrite" << "application/pdf";
        QTest::newRow("type changed, same size") << pdf << pdX << "rewrite" << "application/pdX";
        QTest::newRow("type removed") << pdf << Rules << "rewrite" << "application/octet-stream";
        QTest::newRow("renamed over: same size, same time") << pdf << pdX << "rename" << "application/pdX";
        QTest::newRow("removed") << pdf << pdf << "remove" << QString();
        QTest::newRow("a folder now") << pdf << pdf << "folder" << QString();
    }

    void globFileChanges()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, change);
        QFETCH(QString, type);
        const QDateTime then = QDateTime::currentDateTimeUtc().addSecs(-7200);
        writeGlobs(before, then);
        for (const char* probe : {"probe.none", "probe.nothing"}) // whatever is kept of the file, kept now
            QCOMPARE(resolve(QLatin1String(probe)), OctetStream);
        const QString replacement = globs + QStringLiteral(".new");
        if (change == QLatin1String("rename")) { // the same time, another inode
            writeGlobs(after, then, replacement);
            QCOMPARE(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(globs).constData()), 0);
        } else if (change == QLatin1String("rewrite")) {
            writeGlobs(after, then.addSecs(3600));
        } else {
            QVERIFY(QFile::remove(globs));
            QVERIFY(change == QLatin1String("remove") || QDir().mkdir(globs));
        }
        const QString found = resolve(QStringLiteral("/x.y/report.pdf"));
        QCOMPARE(found, type);
        QCOMPARE(found.isNull(), type.isNull());
        if (type.isNull()) { // and back
            QVERIFY(change == QLatin1String("remove") || QDir().rmdir(globs));
            writeGlobs(after);
            QCOMPARE(resolve(QStringLiteral("report.pdf")), QStringLiteral("application/pdf"));
        }
    }

    // Glob files and names nobody would write on purpose: the rules that
    // follow still count, and nothing crashes, hangs or reads beyond a line;
    // and the glob file that shared-mime-info installs.
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        const QByteArray pdf("50:application/pdf:*.pdf\n");
        QByteArray manyPatterns;
        for (int i = 0; i < 5000; ++i)
            manyPatterns += "50:text/x-" + QByteArray::number(i) + ":*." + QByteArray::number(i) + "[0-9]\n";
        QByteArray nested;
        for (int i = 0; i < 2000; ++i)
            nested += "*[";
        QByteArray stars;
        for (int i = 0; i < 200; ++i)
            stars += "*a";
        QTest::newRow("huge line") << QByteArray(4 << 20, 'x') + "\n" + pdf << "a.pdf" << "application/pdf";
        QTest::newRow("huge glob matching") << "50:text/x-huge:" + QByteArray(1 << 20, 'a') + "\n" + pdf
                                            << QString(1 << 20, QLatin1Char('a')) << "application/octet-stream";
        QTest::newRow("NULs") << QByteArray("50:text/x-nul:*.n\0l\n5\0:a:b\n", 27) + pdf << "a.pdf" << "application/pdf";
        QTest::newRow("invalid UTF-8") << "50:text/\xff\xfe:*.\xc3\n" + pdf << "a.pdf" << "application/pdf";
        QTest::newRow("weights out of range") << QByteArray("99999999999999999999:text/x-big:*.big\n-7:text/x-neg:*.neg\n")
                                              << "x.neg" << "text/x-neg";
        QTest::newRow("no type") << ":" + QByteArray("\n50::*.pdf\n") + pdf << "a.pdf" << "application/pdf";
        QTest::newRow("unclosed brackets") << "50:text/x-nested:" + nested + "\n" + pdf << "a.pdf" << "application/pdf";
        QTest::newRow("many stars") << "50:text/x-stars:" + stars + "b\n" << QString(5000, QLatin1Char('a'))
                                    << "application/octet-stream";
        QTest::newRow("thousands of patterns") << manyPatterns << "x.49995" << "text/x-4999";
        QTest::newRow("name with NUL") << pdf << QString::fromLatin1("a\0b.pdf", 7) << "application/pdf";
        QTest::newRow("name from invalid UTF-8") << pdf << QString::fromUtf8("\xff\xfe.pdf") << "application/pdf";
        QTest::newRow("very long name") << pdf << QString(1 << 20, QLatin1Char('n')) + ".pdf" << "application/pdf";
        QTest::newRow("endless file") << QByteArray("/dev/zero") << "a.pdf" << "application/octet-stream";
        QTest::newRow("installed file") << QByteArray("/usr/share/mime/globs2") << "report.PDF" << "application/pdf";
        QTest::newRow("installed file, unknown") << QByteArray("/usr/share/mime/globs2") << "data.nothingknown"
                                                 << "application/octet-stream";
    }

    void hostileInput()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QString, type);
        if (content.startsWith('/')) // the file itself: the installed one, or one that never ends
            Pavane::MimeTypeResolverInternal::setGlobFilePath(QString::fromLatin1(content));
        else
            writeGlobs(content);
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
        QTest::newRow("VCF extension") << "/home/card.VCF" << "text/plain" << "icon-m-content-avatar-placeholder-inverse";
        QTest::newRow("dot in a directory") << "/home/user/dir.d/file" << "" << "icon-m-content-file-unknown-inverse";
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

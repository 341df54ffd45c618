// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Contacts as vCard files, fetched from the "tracker" backend (the plugin of
// the build tree on a store of the test's own, filled as the address book
// would) and read back from files.
#include <Pavane/ContactExporter>

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Pavane::ContactExporter;

QTCONTACTS_USE_NAMESPACE

namespace {

// Tells QtTest to expect the warning, if any; returns the warnings to log.
QStringList expect(const QString& warning)
{
    if (warning.isEmpty())
        return {};
    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    return {warning};
}

struct FileRow
{
    QString name;
    QByteArray content; // null: no such file; "->target": a link to it
    bool isContact, resolves;
    QString first, last, warning;
};

} // namespace

Q_DECLARE_METATYPE(FileRow)

class TestContactExporter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString temp;
    std::unique_ptr<QContactManager> store;
    QHash<QString, QString> iris, lastNames; // by first name

    QContactId addContact(const QString& first, const QString& last, const QString& picture = QString())
    {
        QContact contact;
        QContactName name;
        name.setFirstName(first);
        name.setLastName(last);
        contact.saveDetail(&name);
        QContactAvatar avatar;
        avatar.setImageUrl(QUrl::fromLocalFile(picture));
        if (!picture.isEmpty())
            contact.saveDetail(&avatar);
        return store->saveContact(&contact) ? contact.id() : QContactId();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        qputenv("TRACKER_CONTACTS_DIR", scratch.filePath(QStringLiteral("store")).toUtf8());
        // QtContacts never forgets a backend once found: try without it
        // before any contact manager exists.
        const QString plugins = qEnvironmentVariable("QT_PLUGIN_PATH");
        QCoreApplication::removeLibraryPath(plugins);
        if (!QContactManager::availableManagers().contains(QStringLiteral("tracker"))) {
            QContact contact;
            QTest::ignoreMessage(QtWarningMsg, "Cannot find tracker contact manager. ");
            QVERIFY(!ContactExporter::contactFromIri(QStringLiteral("contact:42"), contact));
        }
        QCoreApplication::addLibraryPath(plugins);

        // QDir::tempPath() reads $TMPDIR on every call.
        temp = scratch.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temp));
        qputenv("TMPDIR", temp.toUtf8());
        QImage face(4, 3, QImage::Format_ARGB32);
        face.fill(Qt::red);
        QVERIFY(face.save(scratch.filePath(QStringLiteral("ann.png")), "PNG"));

        // Contacts that come and go, so that the first one kept gets a
        // two-digit id.
        store.reset(new QContactManager(QStringLiteral("tracker")));
        QList<QContactId> placeholders;
        for (int i = 0; i < 41; ++i)
            placeholders << addContact(QStringLiteral("P"), QString::number(i));
        const QList<QStringList> kept{{"Ann", "Lee", scratch.filePath("ann.png")},
                                      {"Sly", "../../x"},
                                      {"Back", "a\\b/c"},
                                      {"Only", "..."},
                                      {"Long", QString(100, QLatin1Char('n'))},
                                      {"Lost", "Picture", scratch.filePath("gone.png")}};
        for (const QStringList& contact : kept) {
            const QContactId id = addContact(contact[0], contact[1], contact.value(2));
            iris.insert(contact[0], QStringLiteral("contact:") + QString::fromLatin1(id.localId()));
            lastNames.insert(contact[0], contact[1]);
        }
        QVERIFY(store->removeContacts(placeholders));
        QCOMPARE(iris.value("Ann"), QStringLiteral("contact:42"));
    }

    // The last name goes into the file name: it must not lead into another
    // directory, hide the file or grow beyond what a file system takes.
    // Only Ann's picture exists, and the card carries it.
    void cardFileAndAvatar_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("prefix"); // of the file name, before the six unique characters
        QTest::newRow("last name") << "Ann" << "Lee_";
        QTest::newRow("parent directories") << "Sly" << "_.._x_";
        QTest::newRow("backslash and slash") << "Back" << "a_b_c_";
        QTest::newRow("dots only") << "Only" << "_";
        QTest::newRow("long") << "Long" << QString(64, QLatin1Char('n')) + "_";
        QTest::newRow("picture gone") << "Lost" << "Picture_";
    }

    void cardFileAndAvatar()
    {
        QFETCH(QString, first);
        QFETCH(QString, prefix);
        TestSupport::MessageLog log;
        QScopedPointer<QTemporaryFile> card(ContactExporter::createContactCardFile(iris.value(first)));
        QVERIFY(card);
        QVERIFY(!card->isOpen());
        const QFileInfo info(card->fileName());
        QCOMPARE(QDir(temp).entryList(QDir::Files | QDir::Hidden), QStringList{info.fileName()});
        QCOMPARE(info.fileName().left(prefix.size()) + info.fileName().mid(prefix.size() + 6), prefix + ".vcf");

        QFile file(info.absoluteFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
        const bool hasPicture = first == QLatin1String("Ann");
        QCOMPARE(text.contains("PHOTO;ENCODING=b;TYPE=PNG:"), hasPicture);
        QString readFirst, readLast;
        QVERIFY(ContactExporter::resolveContactInfo(info, readFirst, readLast));
        QCOMPARE(readFirst, first);
        QCOMPARE(readLast, lastNames.value(first));
        card.reset();
        QVERIFY(!QFile::exists(info.absoluteFilePath()));

        QImage image(2, 2, QImage::Format_RGB32); // a picture from before must not linger
        image.fill(Qt::blue);
        QVERIFY(ContactExporter::resolveContactAvatar(iris.value(first), image));
        QCOMPARE(image.isNull(), !hasPicture);
        if (hasPicture)
            QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::red));
        QVERIFY(log.messages(QtWarningMsg).isEmpty());
    }

    // Nothing to write, or nowhere to write it. Without a usable $TMPDIR Qt
    // finds no temporary directory: the file must land neither in the
    // current directory nor in the root. A card cut short by a full disk
    // must not stay behind either.
    void cardFileFailures_data()
    {
        QTest::addColumn<QString>("iri");
        QTest::addColumn<QString>("tmpDir"); // relative to the scratch directory
        QTest::addColumn<int>("fileSizeLimit"); // 0: none
        QTest::addColumn<QString>("warning");
        const QString ann = iris.value("Ann");
        QTest::newRow("not an IRI") << "Contact:42" << "tmp" << 0 << "Not a contact IRI:  \"Contact:42\" . ";
        // 2^32 + 42: cut to 32 bits it would name Ann.
        QTest::newRow("id beyond 32 bits") << "contact:4294967338" << "tmp" << 0
                                           << "Contact IRI \" \"contact:4294967338\" \" not valid.";
        QTest::newRow("removed contact") << "contact:1" << "tmp" << 0 << "Cannot fetch contact. ";
        QTest::newRow("temporary directory is a file")
            << ann << "ann.png" << 0 << "Could not open contact file \"" + scratch.filePath("ann.png/Lee_XXXXXX.vcf") + "\" .";
        QTest::newRow("no temporary directory") << ann << "no/such/dir" << 0 << "Could not open contact file \"Lee_XXXXXX.vcf\" .";
        QTest::newRow("disk full midway") << ann << "tmp" << 64 << "Versit Exporter was unable to export contact \"" + ann + "\" .";
    }

    void cardFileFailures()
    {
        QFETCH(QString, iri);
        QFETCH(QString, tmpDir);
        QFETCH(int, fileSizeLimit);
        QFETCH(QString, warning);
        TestSupport::MessageLog log;
        expect(warning);
        qputenv("TMPDIR", scratch.filePath(tmpDir).toUtf8());
        // Writes beyond the limit fail as on a full disk (EFBIG), for this
        // call only.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        if (fileSizeLimit)
            limited.rlim_cur = rlim_t(fileSizeLimit);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        QScopedPointer<QTemporaryFile> card(ContactExporter::createContactCardFile(iri));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedSignal);
        qputenv("TMPDIR", temp.toUtf8());
        QVERIFY(!card);
        QCOMPARE(log.messages(QtWarningMsg), QStringList{warning});
        QVERIFY(QDir(temp).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(QDir().entryList({"*.vcf"}, QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(QDir::root().entryList({"*_??????.vcf"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    // isContactType reads only a file without suffix (a suffix alone
    // decides); resolveContactInfo reads any file and takes its first contact.
    void readingFiles_data()
    {
        QTest::addColumn<FileRow>("row");
        const QByteArray ann("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
        const QByteArray two = ann + "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Bo;;;\r\nEND:VCARD\r\n";
        const QByteArray organisation("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zelkor\r\nORG:Zelkor\r\nEND:VCARD\r\n");
        const QString noContacts = QStringLiteral("QVersitContactImporter imported no contacts");
        QTest::newRow("vcf") << FileRow{"a.vcf", two, true, true, "Ann", "Lee", ""};
        QTest::newRow("capitals, no names") << FileRow{"a.VCF", organisation, false, false, "", "", ""};
        QTest::newRow("no suffix") << FileRow{"a", two, true, true, "Ann", "Lee", ""};
        QTest::newRow("no suffix, empty") << FileRow{"a", "", false, false, "stale", "stale", noContacts};
        QTest::newRow("vcf, missing") << FileRow{"a.vcf", QByteArray(), true, false, "stale", "stale",
                                                 "NfcFileSendDialog: Unable to open file for reading"};
        // Cards from outside. QtVersit reads each BEGIN as a card nested in
        // the one before, on the stack; it takes time with the square of a
        // line's length; and it would read on for ever. The first card
        // still counts.
        QTest::newRow("nested BEGINs") << FileRow{"a", ann + QByteArray("BEGIN:VCARD\r\n").repeated(100000), true,
                                                  true, "Ann", "Lee", ""};
        QTest::newRow("nested BEGINs, folded, lower case")
            << FileRow{"a.vcf", ann + QByteArray("bEG\r\n in:vcard\r\n").repeated(100000), true, true, "Ann", "Lee", ""};
        const QByteArray utf16Begins = QByteArray("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0\r\0\n\0", 26).repeated(100000);
        QTest::newRow("nested BEGINs in UTF-16") << FileRow{"a.vcf", "\xff\xfe" + utf16Begins, true, false, "stale",
                                                            "stale", "Unable to import vcards to contacts"};
        QTest::newRow("huge card after the first")
            << FileRow{"a.vcf", ann + "BEGIN:VCARD\r\nNOTE:" + QByteArray(8 << 20, 'x'), true, true, "Ann", "Lee", ""};
        QTest::newRow("truncated") << FileRow{"a.vcf", ann.left(40), true, false, "stale", "stale", noContacts};
        QTest::newRow("binary photo") << FileRow{"a.vcf", QByteArray(ann).insert(40, "PHOTO;ENCODING=b;TYPE=PNG:/+7/AAAQ\r\n"),
                                                 true, true, "Ann", "Lee", ""};
        QTest::newRow("endless, no suffix") << FileRow{"zero", "->/dev/zero", false, false, "stale", "stale", noContacts};
    }

    void readingFiles()
    {
        QFETCH(FileRow, row);
        QTemporaryDir dir;
        QFile file(dir.filePath(row.name));
        if (row.content.startsWith("->")) {
            QVERIFY(QFile::link(QString::fromUtf8(row.content.mid(2)), file.fileName()));
        } else if (!row.content.isNull()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(row.content);
            file.close();
        }
        TestSupport::MessageLog log;
        const QStringList warnings = expect(row.warning);
        QCOMPARE(ContactExporter::isContactType(QFileInfo(file)), row.isContact);
        QString first = QStringLiteral("stale");
        QString last = QStringLiteral("stale");
        QCOMPARE(ContactExporter::resolveContactInfo(QFileInfo(file), first, last), row.resolves);
        QCOMPARE(first, row.first);
        QCOMPARE(last, row.last);
        QCOMPARE(log.messages(QtWarningMsg), warnings);
    }

    // A file without suffix is read only as far as a first line may tell,
    // and a pipe is never waited for: one fed with a line that does not end
    // answers at once, having read a few KiB at most; one that nobody
    // writes to answers as well.
    void isContactTypeDoesNotWaitForAPipe_data()
    {
        QTest::addColumn<bool>("fed");
        QTest::newRow("fed with an endless line") << true;
        QTest::newRow("without a writer") << false;
    }

    void isContactTypeDoesNotWaitForAPipe()
    {
        QFETCH(bool, fed);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
        QCOMPARE(mkfifo(path.constData(), 0600), 0);
        // Held open for writing (and reading), so that the pipe never ends.
        const int pipe = fed ? ::open(path.constData(), O_RDWR | O_NONBLOCK) : -1;
        const QByteArray line(60000, 'x');
        if (fed)
            QCOMPARE(::write(pipe, line.constData(), size_t(line.size())), ssize_t(line.size()));

        std::atomic<int> answer{-1};
        std::thread asking([&] { answer = ContactExporter::isContactType(QFileInfo(QFile::decodeName(path))); });
        const bool answered = QTest::qWaitFor([&] { return answer != -1; });
        QByteArray left(line.size(), '\0');
        const ssize_t unread = fed && answered ? ::read(pipe, left.data(), size_t(left.size())) : line.size();
        // Releases a reader that still waits for a writer, and then for data.
        if (fed)
            ::close(pipe);
        else if (!answered)
            ::close(::open(path.constData(), O_WRONLY));
        asking.join();
        QVERIFY(answered);
        QCOMPARE(answer.load(), 0);
        QVERIFY2(line.size() - unread <= 8192, qPrintable(QString::number(line.size() - unread)));
    }
    // A library without its vCard module (none, no library, no entry point)
    // says so once and answers as without a contact store: a copy of it,
    // with a folder of our making beside it, in a child asked twice over.
    void withoutModule_data()
    {
        QTest::addColumn<QString>("module"); // copied as the module, if any; a.vcf is the card
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "" << "No such file or directory";
        QTest::newRow("not a library") << "a.vcf" << "file too short";
        const QDir plugins(qEnvironmentVariable("QT_PLUGIN_PATH") + "/contacts");
        QTest::newRow("no entry point") << plugins.entryInfoList({"*.so"}).value(0).filePath()
                                        << "undefined symbol: pavanedlg_vcard_module";
    }

    void withoutModule()
    {
        QFETCH(QString, module);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(PAVANEDLG_FILE, dir.filePath("libpavanedlg.so.0")));
        QVERIFY(QDir(dir.path()).mkdir("pavanedlg"));
        QFile card(dir.filePath("a.vcf"));
        QVERIFY(card.open(QIODevice::WriteOnly) && card.write("BEGIN:VCARD\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n") > 0);
        card.close();
        const QString copy = dir.filePath("pavanedlg/pavanedlg-vcard.so");
        QVERIFY(module.isEmpty() || QFile::copy(QDir(dir.path()).filePath(module), copy));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_LIBRARY_PATH", dir.path());
        environment.remove("QT_PLUGIN_PATH"); // no contact store, should the build tree's library be loaded
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--answers", card.fileName()});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(child.readAllStandardOutput(), QByteArray("0 0 0 0 stale stale 1\n").repeated(2));
        const QByteArray warnings = child.readAllStandardError().trimmed();
        QVERIFY2(!warnings.contains('\n') && warnings.contains(error.toUtf8()), warnings.constData());
    }
};

// What the library answers in withoutModule()'s child.
static int printAnswers(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QFileInfo card(QString::fromLocal8Bit(argv[2]));
    const QString iri = QStringLiteral("contact:1");
    for (int round = 0; round < 2; ++round) {
        QContact contact;
        QImage image;
        QString first = QStringLiteral("stale"), last = first;
        const bool fetched = ContactExporter::contactFromIri(iri, contact);
        const std::unique_ptr<QTemporaryFile> file(ContactExporter::createContactCardFile(iri));
        const bool avatar = ContactExporter::resolveContactAvatar(iri, image);
        const bool named = ContactExporter::resolveContactInfo(card, first, last);
        std::printf("%d %d %d %d %s %s %d\n", fetched, bool(file), avatar, named, qPrintable(first), qPrintable(last),
                    ContactExporter::isContactType(card));
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--answers") == 0)
        return printAnswers(argc, argv);
    QCoreApplication app(argc, argv);
    TestContactExporter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_contactexporter.moc"

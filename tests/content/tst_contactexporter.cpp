// Contacts as vCard files, fetched from the "tracker" backend (the plugin of
// the build tree on a store of the test's own) and read back from files.
#include <Pavane/ContactExporter>

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtContacts/QContactAvatar>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>
#include <QtTest>

using Pavane::ContactExporter;

QTCONTACTS_USE_NAMESPACE

namespace {

QContact person(const QString& first, const QString& last)
{
    QContact contact;
    QContactName name;
    name.setFirstName(first);
    name.setLastName(last);
    contact.saveDetail(&name);
    return contact;
}

void expectWarnings(const QStringList& warnings)
{
    for (const QString& warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
}

QString iriOf(const QContact& contact)
{
    return QStringLiteral("contact:") + QString::fromLatin1(contact.id().localId());
}

} // namespace

class TestContactExporter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString store;
    QString temp;
    QString picture;
    QByteArray savedTmpDir;
    QHash<QString, QString> iris; // by a short name of the contact

    bool backendListedWithoutPluginPath = false;
    bool foundWithoutBackend = false;
    QStringList warningsWithoutBackend;

    // QtContacts never forgets a backend once found, so this must come
    // before any contact manager exists.
    void tryWithoutBackend()
    {
        const QString plugins = qEnvironmentVariable("QT_PLUGIN_PATH");
        QCoreApplication::removeLibraryPath(plugins);
        backendListedWithoutPluginPath = QContactManager::availableManagers().contains(QStringLiteral("tracker"));
        TestSupport::MessageLog log;
        if (!backendListedWithoutPluginPath)
            QTest::ignoreMessage(QtWarningMsg, "Cannot find tracker contact manager. ");
        QContact contact;
        foundWithoutBackend = ContactExporter::contactFromIri(QStringLiteral("contact:42"), contact);
        warningsWithoutBackend = log.messages(QtWarningMsg);
        QCoreApplication::addLibraryPath(plugins);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        tryWithoutBackend();
        // The store and the temporary directory are the test's own, set
        // before any contact manager exists: the backend reads its
        // directory when a manager is made, QDir::tempPath() on every call.
        store = scratch.filePath(QStringLiteral("store"));
        temp = scratch.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temp));
        qputenv("TRACKER_CONTACTS_DIR", store.toUtf8());
        savedTmpDir = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp.toUtf8());
        QCOMPARE(QDir::tempPath(), temp);

        picture = scratch.filePath(QStringLiteral("faces/ann.png"));
        QVERIFY(QDir().mkpath(QFileInfo(picture).absolutePath()));
        QImage face(4, 3, QImage::Format_ARGB32);
        face.fill(Qt::red);
        QVERIFY(face.save(picture, "PNG"));

        // Forty-one contacts that come and go, so that the first one kept
        // has a two-digit id.
        QContactManager manager(QStringLiteral("tracker"));
        QList<QContact> placeholders;
        for (int i = 0; i < 41; ++i)
            placeholders.append(person(QStringLiteral("P"), QString::number(i)));
        QVERIFY(manager.saveContacts(&placeholders));
        QList<QContactId> placeholderIds;
        for (const QContact& contact : placeholders)
            placeholderIds.append(contact.id());

        QContact ann = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
        QContactAvatar avatar;
        avatar.setImageUrl(QUrl::fromLocalFile(picture));
        ann.saveDetail(&avatar);
        QContact lost = person(QStringLiteral("Lost"), QStringLiteral("Picture"));
        QContactAvatar missing;
        missing.setImageUrl(QUrl::fromLocalFile(scratch.filePath(QStringLiteral("faces/gone.png"))));
        lost.saveDetail(&missing);
        QList<QContact> kept{ann,
                             person(QStringLiteral("Mononym"), QString()),
                             person(QStringLiteral("Sly"), QStringLiteral("../../x")),
                             person(QStringLiteral("Back"), QStringLiteral("a\\b/c")),
                             person(QStringLiteral("Dot"), QStringLiteral("...hidden")),
                             person(QStringLiteral("Only"), QStringLiteral("...")),
                             person(QStringLiteral("Long"), QString(100, QLatin1Char('n'))),
                             lost};
        QVERIFY(manager.saveContacts(&kept));
        QVERIFY(manager.removeContacts(placeholderIds));
        const QStringList names{"ann", "mononym", "sly", "backslash", "dots", "only dots", "long", "lost"};
        for (int i = 0; i < names.size(); ++i)
            iris.insert(names.at(i), iriOf(kept.at(i)));
        QCOMPARE(iris.value("ann"), QStringLiteral("contact:42"));
    }

    void cleanupTestCase()
    {
        qputenv("TMPDIR", savedTmpDir);
    }

    void contactFromIri_data()
    {
        QTest::addColumn<QString>("iri");
        QTest::addColumn<QString>("firstName"); // empty: not found
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("decimal id") << "contact:42" << "Ann" << QStringList();
        QTest::newRow("leading zeros") << "contact:0042" << "Ann" << QStringList();
        QTest::newRow("capital C") << "Contact:42" << ""
                                   << QStringList{"Not a contact IRI:  \"Contact:42\" . "};
        QTest::newRow("other scheme") << "tel:42" << "" << QStringList{"Not a contact IRI:  \"tel:42\" . "};
        QTest::newRow("no id") << "contact:" << ""
                               << QStringList{"Contact IRI \" \"contact:\" \" not valid."};
        QTest::newRow("letters") << "contact:12a" << ""
                                 << QStringList{"Contact IRI \" \"contact:12a\" \" not valid."};
        // 2^32 + 42: cut to 32 bits it would name Ann.
        QTest::newRow("beyond 32 bits") << "contact:4294967338" << ""
                                        << QStringList{"Contact IRI \" \"contact:4294967338\" \" not valid."};
        QTest::newRow("removed") << "contact:1" << "" << QStringList{"Cannot fetch contact. "};
        QTest::newRow("never saved") << "contact:4000000000" << "" << QStringList{"Cannot fetch contact. "};
    }

    void contactFromIri()
    {
        QFETCH(QString, iri);
        QFETCH(QString, firstName);
        QFETCH(QStringList, warnings);
        TestSupport::MessageLog log;
        expectWarnings(warnings);
        QContact contact = person(QStringLiteral("Stale"), QString());
        QCOMPARE(ContactExporter::contactFromIri(iri, contact), !firstName.isEmpty());
        if (!firstName.isEmpty()) {
            QCOMPARE(contact.detail<QContactName>().firstName(), firstName);
            QCOMPARE(contact.id().localId(), QByteArray("42"));
        }
        QCOMPARE(log.messages(QtWarningMsg), warnings);
    }

    void withoutBackend()
    {
        if (backendListedWithoutPluginPath)
            QSKIP("the backend is installed where Qt looks by default");
        QVERIFY(!foundWithoutBackend);
        QCOMPARE(warningsWithoutBackend, QStringList{"Cannot find tracker contact manager. "});
    }

    void cardFile_data()
    {
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("prefix"); // of the file name, before the six unique characters
        QTest::addColumn<QString>("firstName");
        QTest::newRow("last name") << "ann" << "Lee_" << "Ann";
        QTest::newRow("no last name") << "mononym" << "_" << "Mononym";
        QTest::newRow("parent directories") << "sly" << "_.._x_" << "Sly";
        QTest::newRow("backslash and slash") << "backslash" << "a_b_c_" << "Back";
        QTest::newRow("leading dots") << "dots" << "hidden_" << "Dot";
        QTest::newRow("dots only") << "only dots" << "_" << "Only";
        QTest::newRow("long") << "long" << QString(64, QLatin1Char('n')) + "_" << "Long";
    }

    void cardFile()
    {
        QFETCH(QString, contact);
        QFETCH(QString, prefix);
        QFETCH(QString, firstName);
        TestSupport::MessageLog log;
        QScopedPointer<QTemporaryFile> card(ContactExporter::createContactCardFile(iris.value(contact)));
        QVERIFY(card);
        QVERIFY(!card->isOpen());
        const QFileInfo info(card->fileName());
        QVERIFY(info.exists());
        QCOMPARE(info.absolutePath(), temp);
        QCOMPARE(QDir(temp).entryList(QDir::Files | QDir::Hidden), QStringList{info.fileName()});
        QVERIFY2(info.fileName().startsWith(prefix), qPrintable(info.fileName()));
        QVERIFY(info.fileName().endsWith(QLatin1String(".vcf")));
        QCOMPARE(info.fileName().size(), prefix.size() + 6 + 4);

        QFile file(info.absoluteFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readLine().startsWith("BEGIN:VCARD"));
        QCOMPARE(file.readLine().trimmed(), QByteArray("VERSION:3.0"));
        file.close();
        QString first;
        QString last;
        QVERIFY(ContactExporter::resolveContactInfo(info, first, last));
        QCOMPARE(first, firstName);

        const QString path = info.absoluteFilePath();
        card.reset();
        QVERIFY(!QFile::exists(path));
        QVERIFY(log.messages(QtWarningMsg).isEmpty());
    }

    void cardCarriesThePicture()
    {
        QScopedPointer<QTemporaryFile> card(ContactExporter::createContactCardFile(iris.value("ann")));
        QVERIFY(card);
        QVERIFY(card->open());
        const QByteArray text = card->readAll();
        QVERIFY(text.contains("N:Lee;Ann;;;"));
        QVERIFY(text.contains("PHOTO;ENCODING=b;TYPE=PNG:"));
    }

    void cardFileFailures_data()
    {
        QTest::addColumn<QString>("iri");
        QTest::addColumn<QString>("tmpDir"); // relative to the scratch directory
        QTest::addColumn<QString>("warning");
        QTest::newRow("not an IRI") << "Contact:42" << "tmp" << "Not a contact IRI:  \"Contact:42\" . ";
        QTest::newRow("no contact") << "contact:1" << "tmp" << "Cannot fetch contact. ";
        QTest::newRow("temporary directory is a file")
            << iris.value("ann") << "faces/ann.png"
            << "Could not open contact file \"" + scratch.filePath("faces/ann.png/Lee_XXXXXX.vcf") + "\" .";
        // Qt finds no temporary directory at all: neither the root nor the
        // current directory takes its place.
        QTest::newRow("no temporary directory")
            << iris.value("ann") << "no/such/dir" << "Could not open contact file \"Lee_XXXXXX.vcf\" .";
    }

    void cardFileFailures()
    {
        QFETCH(QString, iri);
        QFETCH(QString, tmpDir);
        QFETCH(QString, warning);
        TestSupport::MessageLog log;
        expectWarnings({warning});
        qputenv("TMPDIR", scratch.filePath(tmpDir).toUtf8());
        QScopedPointer<QTemporaryFile> card(ContactExporter::createContactCardFile(iri));
        qputenv("TMPDIR", temp.toUtf8());
        QVERIFY(!card);
        QCOMPARE(log.messages(QtWarningMsg), QStringList{warning});
        QVERIFY(QDir(temp).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(QDir().entryList({"*.vcf"}, QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(QDir::root().entryList({"*_??????.vcf"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void avatar_data()
    {
        QTest::addColumn<QString>("iri");
        QTest::addColumn<bool>("found");
        QTest::addColumn<bool>("hasImage");
        QTest::newRow("with picture") << iris.value("ann") << true << true;
        QTest::newRow("without avatar") << iris.value("mononym") << true << false;
        QTest::newRow("picture gone") << iris.value("lost") << true << false;
        QTest::newRow("no contact") << "contact:1" << false << false;
    }

    void avatar()
    {
        QFETCH(QString, iri);
        QFETCH(bool, found);
        QFETCH(bool, hasImage);
        if (!found)
            expectWarnings({"Cannot fetch contact. "});
        QImage image(2, 2, QImage::Format_RGB32); // a picture from before must not linger
        image.fill(Qt::blue);
        QCOMPARE(ContactExporter::resolveContactAvatar(iri, image), found);
        if (!found)
            return;
        QCOMPARE(image.isNull(), !hasImage);
        if (hasImage) {
            QCOMPARE(image.size(), QSize(4, 3));
            QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::red));
        }
    }

    void isContactType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        const QByteArray card("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
        // Files with a suffix are judged by it alone: they need not exist.
        QTest::newRow("vcf") << "card.vcf" << QByteArray() << true << none;
        QTest::newRow("vcard") << "card.vcard" << QByteArray() << true << none;
        QTest::newRow("two suffixes") << "my.card.vcf" << card << false << none;
        QTest::newRow("capitals") << "card.VCF" << card << false << none;
        QTest::newRow("text") << "notes.txt" << card << false << none;
        QTest::newRow("no suffix, card") << "card" << card << true << none;
        QTest::newRow("no suffix, marker inside") << "card" << QByteArray("x BEGIN:VCARD x\n") << true << none;
        QTest::newRow("no suffix, marker later") << "card" << QByteArray("hello\nBEGIN:VCARD\n") << false << none;
        QTest::newRow("no suffix, empty") << "card" << QByteArray("") << false << none;
        QTest::newRow("no suffix, missing") << "card" << QByteArray() << false
                                            << QStringList{"NfcFileSendDialog: Unable to open file for reading"};
    }

    void isContactType()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, expected);
        QFETCH(QStringList, warnings);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        TestSupport::MessageLog log;
        expectWarnings(warnings);
        QCOMPARE(ContactExporter::isContactType(QFileInfo(path)), expected);
        QCOMPARE(log.messages(QtWarningMsg), warnings);
    }

    void contactInfo_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("lastName");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        QTest::newRow("two contacts")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Bo;;;\r\nFN:Bo Berg\r\nEND:VCARD\r\n")
            << true << "Ann" << "Lee" << none;
        QTest::newRow("first name only")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN:;Mononym\r\nEND:VCARD\r\n")
            << true << "Mononym" << "" << none;
        QTest::newRow("organisation only")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zelkor\r\nORG:Zelkor\r\nEND:VCARD\r\n")
            << false << "" << "" << none;
        QTest::newRow("empty") << QByteArray("") << false << "stale" << "stale"
                               << QStringList{"QVersitContactImporter imported no contacts"};
        QTest::newRow("missing") << QByteArray() << false << "stale" << "stale"
                                 << QStringList{"NfcFileSendDialog: Unable to open file for reading"};
    }

    void contactInfo()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, expected);
        QFETCH(QString, firstName);
        QFETCH(QString, lastName);
        QFETCH(QStringList, warnings);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("contact.vcf"));
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        TestSupport::MessageLog log;
        expectWarnings(warnings);
        QString first = QStringLiteral("stale");
        QString last = QStringLiteral("stale");
        QCOMPARE(ContactExporter::resolveContactInfo(QFileInfo(path), first, last), expected);
        QCOMPARE(first, firstName);
        QCOMPARE(last, lastName);
        QCOMPARE(log.messages(QtWarningMsg), warnings);
    }
};

QTEST_GUILESS_MAIN(TestContactExporter)
#include "tst_contactexporter.moc"

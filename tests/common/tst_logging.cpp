// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later

// The library's messages under the category of their subsystem: a real
// trigger in each, its message at its level and in its category, silenced by
// "pavane.*=false", let through by a rule against debug messages; and the
// same from QT_LOGGING_RULES, in a process of this suite run with "--emit".
#include <Pavane/ButtonGroupContainer>
#include <Pavane/ConnectivitySettings>
#include <Pavane/ContactExporter>
#include <Pavane/DBusDispatcher>
#include <Pavane/PropertyEditorManager>
#include <Pavane/RadioState>
#include <Pavane/SimpleInputHandler>

#include <MSheet>
#include <MTextEdit>
#include <MWindow>

#include <QApplication>
#include <QLoggingCategory>
#include <QProcess>
#include <QtTest>

using namespace Pavane;

namespace {

// Fresh objects every time, as some messages are said once per object.
void callWithBadSignalPath()
{
    DBusDispatcher("com.zelkor.pavane.Nobody", "/a", "com.zelkor.A", "not a path").callAsynchronous("M", QDate(2026, 1, 1));
}
void askRadioWithoutDaemon() { RadioState(RadioState::WLAN).enabled(); }
void openStoreThatIsAFolder()
{
    qputenv("NETPREFS_DB", "/");
    ConnectivitySettings(ConnectivitySettings::IAP, "home");
}
void offerLabelsWithoutValues() { delete PropertyEditorManager(QVariantMap()).createEditor("mode", {"a", "b", "c"}, {1, 2}); }
void typeUnderForeignSheetHeader()
{
    MWindow window;
    MSheet sheet;
    sheet.setHeaderWidget(new MWidget);
    sheet.setCentralWidget(new MWidget);
    auto* edit = new MTextEdit(MTextEditModel::SingleLine, QString(), sheet.centralWidget());
    new SimpleInputHandler(&sheet);
    sheet.appear(&window);
    if (QTest::qWaitFor([&sheet] { return sheet.sceneWindowState() == MSceneWindow::Appeared; }))
        edit->setText("x");
}
void serveNoWidget() { delete new SimpleInputHandler(nullptr); }
void unfixLaidOutGroup()
{
    ButtonGroupContainer group;
    group.setFixedModeEnabled(true);
    group.addButton("a");
    group.setFixedModeEnabled(false);
}
void askMissingCardFile() { ContactExporter::isContactType(QFileInfo("/proc/self/no-such-card")); }

struct Row { void (*trigger)(); const char* category; QtMsgType type; const char* text; /* its beginning */ };
const Row Rows[] = {
    {callWithBadSignalPath, "pavane.dbus", QtWarningMsg, "DBusDispatcher: invalid signal path \"not a path\"; no signals"},
    {callWithBadSignalPath, "pavane.dbus", QtDebugMsg, "Unsupported variant type: QVariant::QDate"},
    {askRadioWithoutDaemon, "pavane.device", QtWarningMsg, "RadioState statusCallback failed: org.freedesktop.DBus.Error.ServiceUnknown, "},
    {openStoreThatIsAFolder, "pavane.settings", QtCriticalMsg, "Failed to open netprefs for \"home\""},
    {openStoreThatIsAFolder, "pavane.settings", QtWarningMsg, "Unable to add notify for connectivity settings"},
    {offerLabelsWithoutValues, "pavane.editor", QtWarningMsg, "PropertyEditorManager: 3 labels but 2 values for \"mode\";"},
    {typeUnderForeignSheetHeader, "pavane.sheet", QtWarningMsg, "SheetInputHandlerPrivate::getPositiveAction() unable"},
    {serveNoWidget, "pavane.sheet", QtWarningMsg, "SimpleInputHandler: no widget to serve"},
    {unfixLaidOutGroup, "pavane.widgets", QtWarningMsg, "ButtonGroupContainer: Unable to disable fixed mode when"},
    {askMissingCardFile, "pavane.content", QtWarningMsg, "NfcFileSendDialog: Unable to open file for reading"},
};

QList<std::tuple<QtMsgType, QString, QString>> captured;

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filterRules_data()
    {
        QTest::addColumn<int>("row");
        for (const Row& row : Rows)
            QTest::newRow(row.text) << int(&row - Rows);
    }

    void filterRules()
    {
        QFETCH(int, row);
        const Row& expected = Rows[row];
        const QString debugOff = QStringLiteral("%1.debug=false").arg(expected.category);
        for (const QString& rules : {QString(), QStringLiteral("pavane.*=false"), debugOff}) {
            captured.clear();
            QLoggingCategory::setFilterRules(rules);
            const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                                                        const QString& text) {
                captured.append({type, QString::fromLatin1(context.category), text});
            });
            expected.trigger();
            qInstallMessageHandler(previous);
            QLoggingCategory::setFilterRules(QString());
            bool found = false;
            for (const auto& [type, category, text] : qAsConst(captured)) {
                const bool silenced = rules != debugOff || type == QtDebugMsg;
                QVERIFY2(rules.isEmpty() || !category.startsWith("pavane.") || !silenced, qPrintable(text));
                found = found || (category == expected.category && type == expected.type && text.startsWith(expected.text));
            }
            QCOMPARE(found, rules.isEmpty() || (rules == debugOff && expected.type != QtDebugMsg));
        }
    }

    // The last row's message is said once more, before the application exists.
    void environmentRules()
    {
        for (const QString& rules : {QString(), QStringLiteral("pavane.*=false")}) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_LOGGING_RULES", rules);
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {"--emit"});
            QVERIFY(child.waitForFinished(120000) && child.exitCode() == 0);
            const QString output = QString::fromUtf8(child.readAllStandardError());
            for (const Row& row : Rows)
                QVERIFY2(output.contains(row.text) == rules.isEmpty(), qPrintable(rules + row.text));
            QCOMPARE(output.count(std::end(Rows)[-1].text), rules.isEmpty() ? 2 : 0);
        }
    }
};

int main(int argc, char** argv)
{
    const bool emitOnly = argc == 2 && qstrcmp(argv[1], "--emit") == 0;
    if (emitOnly) // as a host's static set-up may
        std::end(Rows)[-1].trigger();
    QApplication app(argc, argv);
    if (emitOnly) {
        for (const Row& row : Rows)
            row.trigger();
        return 0;
    }
    TestLogging test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logging.moc"

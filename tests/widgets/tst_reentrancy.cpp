// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Receivers that delete things while a library widget is telling them
// something: the emitter, what holds it, or, for the property editor, the
// manager, the editor and the bound object. Each row names one signal, what
// its receiver deletes and how a user sets it off; the run must end with
// everything deleted and nothing touched after its deletion.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/DrillDownItem>
#include <Pavane/KeyTextEdit>
#include <Pavane/PrefixTextEdit>
#include <Pavane/PropertyEditorManager>
#include <Pavane/SimpleCheckBoxLabel>
#include <Pavane/SimpleSheet>
#include <Pavane/ValueKeyMapperIf>

#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MComboBox>
#include <MHelpButton>
#include <MInputMethodState>
#include <MTextEdit>

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QtTest>

#include <functional>

using namespace Pavane;

namespace {

struct Scene
{
    ToolkitTest::FormPage* page = nullptr;
    QObject* emitter = nullptr;
    const char* signal = nullptr;
    QList<QPointer<QObject>> victims;
    // Not the receiver's to delete: the test deletes them at the end.
    QList<QPointer<QObject>> leftovers;
    std::function<void()> trigger;

    void set(QObject* from, const char* what, QObject* victim, std::function<void()> action)
    {
        emitter = from;
        signal = what;
        victims << victim;
        trigger = std::move(action);
    }
};

using Setup = std::function<void(Scene&)>;

// Connected by signature to any signal: deletes the victims still alive.
class DeletingReceiver : public QObject
{
    Q_OBJECT

public:
    QList<QPointer<QObject>> victims;
    int calls = 0;

public Q_SLOTS:
    void deleteVictims()
    {
        ++calls;
        for (const QPointer<QObject>& victim : qAsConst(victims))
            delete victim.data();
    }
};

// Writes the typed text under "ipv4" and clears "ipv6" and "address".
struct Mapper : ValueKeyMapperIf
{
    QPointer<MTextEdit> edit;
    QString mappedKey() const override { return QStringLiteral("ipv4"); }
    QVariant mappedValue() const override { return edit ? edit->text() : QString(); }
    QStringList obsoleteKeys() const override { return {QStringLiteral("ipv6"), QStringLiteral("address")}; }
};

SimpleSheet* shownSheet(Scene& scene, QGraphicsWidget* content = nullptr, bool withButtons = true)
{
    auto* sheet = new SimpleSheet;
    if (withButtons) {
        sheet->setAcceptLabel(QStringLiteral("Save"));
        sheet->setRejectLabel(QStringLiteral("Cancel"));
    }
    if (content)
        sheet->setContent(content);
    sheet->appear(scene.page->window.data());
    if (!ToolkitTest::appeared(sheet))
        qWarning("the sheet did not appear");
    return sheet;
}

} // namespace

Q_DECLARE_METATYPE(Setup)


class TestReentrancy : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

    static void addPropertyEditorRows()
    {
        // What each editor kind is, how a user changes it, and which property it edits.
        struct Kind
        {
            const char* name;
            std::function<MWidget*(PropertyEditorManager&, Mapper&)> make;
            std::function<void(ToolkitTest::FormPage*, MWidget*)> change;
        };
        const auto typeInto = [](ToolkitTest::FormPage* page, MWidget* editor) {
            page->tap(editor);
            page->type(QStringLiteral("7"));
        };
        const auto tapIt = [](ToolkitTest::FormPage* page, MWidget* editor) { page->tap(editor); };
        const QList<Kind> kinds{
            {"text edit", [](PropertyEditorManager& m, Mapper&) { return m.createEditor("name", QVariant::Invalid); },
             typeInto},
            {"mapped text edit",
             [](PropertyEditorManager& m, Mapper& mapper) {
                 mapper.edit = new MTextEdit;
                 m.bindEditor(mapper.edit, &mapper);
                 return mapper.edit.data();
             },
             typeInto},
            {"switch", [](PropertyEditorManager& m, Mapper&) { return m.createEditor("hidden", QVariant::Bool); },
             tapIt},
            {"button group",
             [](PropertyEditorManager& m, Mapper&) {
                 return m.createEditor("mode", QStringList{"a", "b"}, QList<QVariant>{1, 2});
             },
             [](ToolkitTest::FormPage* page, MWidget* editor) {
                 page->tap(qobject_cast<ButtonGroupContainer*>(editor)->button(1));
             }},
            {"combo box",
             [](PropertyEditorManager& m, Mapper&) {
                 m.setButtonGroupLimit(0);
                 return m.createEditor("mode", QStringList{"a", "b"}, QList<QVariant>{1, 2});
             },
             [](ToolkitTest::FormPage*, MWidget* editor) { qobject_cast<MComboBox*>(editor)->setCurrentIndex(1); }},
        };
        enum Victim { Manager = 1, Editor = 2, Target = 4 };
        const QList<QPair<const char*, int>> victimSets{
            {"the manager", Manager}, {"the editor", Editor}, {"the bound object", Target},
            {"all three", Manager | Editor | Target}};
        for (const Kind& kind : kinds) {
            for (const auto& victims : victimSets) {
                const QByteArray row = QByteArray("propertyChanged from a ") + kind.name + " deletes " + victims.first;
                QTest::newRow(row.constData()) << Setup([kind, which = victims.second](Scene& scene) {
                    auto* target = new QObject;
                    target->setProperty("name", QStringLiteral("a"));
                    target->setProperty("mode", 1);
                    auto* manager = new PropertyEditorManager(target);
                    // The mapper outlives its editor's binding, as it must.
                    auto mapper = QSharedPointer<Mapper>::create();
                    MWidget* editor = scene.page->place(kind.make(*manager, *mapper));
                    QObject::connect(editor, &QObject::destroyed, [mapper] {});
                    scene.emitter = manager;
                    scene.signal = SIGNAL(propertyChanged(QString));
                    if (which & Manager)
                        scene.victims << manager;
                    else
                        scene.leftovers << manager;
                    if (which & Editor)
                        scene.victims << editor;
                    if (which & Target)
                        scene.victims << target;
                    else
                        scene.leftovers << target;
                    const QPointer<MWidget> guard(editor);
                    scene.trigger = [&scene, kind, guard] { kind.change(scene.page, guard); };
                });
            }
        }
    }

private Q_SLOTS:
    void init() { open(); }
    void cleanup() { close(); }

    void receiverDeletes_data()
    {
        QTest::addColumn<Setup>("setup");
        addPropertyEditorRows();

        QTest::newRow("buttonClicked deletes the button group") << Setup([](Scene& scene) {
            auto* group = scene.page->place(new ButtonGroupContainer);
            group->addButton(QStringLiteral("a"), true);
            group->addButton(QStringLiteral("b"), false);
            scene.set(group, SIGNAL(buttonClicked(MButton*)), group, [&scene, group] { scene.page->tap(group->button(1)); });
        });
        QTest::newRow("a button's toggled during setSelectedText deletes the group") << Setup([](Scene& scene) {
            auto* group = scene.page->place(new ButtonGroupContainer);
            for (const char* text : {"a", "b", "b", "b"})
                group->addButton(QString::fromLatin1(text), false);
            scene.set(group->button(1), SIGNAL(toggled(bool)), group, [group] { group->setSelectedText(QStringLiteral("b")); });
        });

        for (const char* signal : {SIGNAL(finished(bool)), SIGNAL(accepted()), SIGNAL(rejected())}) {
            const bool accept = QByteArray(signal) != SIGNAL(rejected());
            QTest::addRow("the sheet's %s deletes it", signal + 1) << Setup([signal, accept](Scene& scene) {
                SimpleSheet* sheet = shownSheet(scene);
                scene.set(sheet, signal, sheet, [&scene, sheet, accept] {
                    auto* header = qobject_cast<MBasicSheetHeader*>(sheet->headerWidget());
                    scene.page->tap(accept ? header->positiveButton() : header->negativeButton());
                });
            });
        }
        for (const char* signal : {SIGNAL(rejected()), SIGNAL(finished(bool)), SIGNAL(disappeared())}) {
            QTest::addRow("an undecided dismissal's %s deletes the sheet", signal + 1) << Setup([signal](Scene& scene) {
                SimpleSheet* sheet = shownSheet(scene);
                scene.set(sheet, signal, sheet, [sheet] { sheet->dismiss(); });
            });
        }
        QTest::newRow("the sheet's state change deletes it as it appears") << Setup([](Scene& scene) {
            auto* sheet = new SimpleSheet;
            sheet->setTitle(QStringLiteral("title"));
            scene.set(sheet, SIGNAL(sceneWindowStateChanged(MSceneWindow::SceneWindowState,MSceneWindow::SceneWindowState)),
                      sheet, [&scene, sheet] { sheet->appear(scene.page->window.data()); });
        });
        QTest::newRow("the keyboard's action key, set on focus, deletes the sheet") << Setup([](Scene& scene) {
            auto* field = new MTextEdit;
            SimpleSheet* sheet = shownSheet(scene, field);
            QTest::qWait(0);
            field->clearFocus();
            scene.set(MInputMethodState::instance(), SIGNAL(extendedAttributeChanged(int,QString,QString,QString,QVariant)),
                      sheet, [&scene, field] { scene.page->tap(field); });
        });
        QTest::newRow("Return on the last field deletes the sheet") << Setup([](Scene& scene) {
            auto* field = new MTextEdit;
            SimpleSheet* sheet = shownSheet(scene, field);
            QTRY_VERIFY(field->hasFocus());
            scene.set(field, SIGNAL(returnPressed()), sheet, [&scene] { scene.page->key(Qt::Key_Return); });
        });
        QTest::newRow("closing the keyboard on the last field's Return deletes the sheet") << Setup([](Scene& scene) {
            auto* field = new MTextEdit;
            SimpleSheet* sheet = shownSheet(scene, field, false);
            QTRY_VERIFY(field->hasFocus());
            MInputMethodState::instance()->requestSoftwareInputPanel();
            scene.set(MInputMethodState::instance(), SIGNAL(softwareInputPanelVisibilityChanged(bool)), sheet,
                      [&scene] { scene.page->key(Qt::Key_Return); });
        });
        QTest::newRow("the check-box row's help button deletes the row") << Setup([](Scene& scene) {
            auto* row = scene.page->place(new SimpleCheckBoxLabel(new MButton, QStringLiteral("WLAN"), MButton::switchType));
            row->setHelpPageId(QStringLiteral("help"));
            MHelpButton::setHelpHandler([](const QString&) {});
            auto* help = ToolkitTest::shown<MHelpButton>(row).value(0);
            if (!QTest::qWaitFor([help] { return help && help->size().width() > 0; }))
                qWarning("the help button was not laid out");
            scene.set(help, SIGNAL(helpPageOpened(QString)), row, [&scene, help] { scene.page->tap(help); });
        });
        QTest::newRow("the prefixed field's textChanged deletes it") << Setup([](Scene& scene) {
            auto* edit = scene.page->place(new PrefixTextEdit);
            edit->setPrefix(QStringLiteral("http://"));
            scene.set(edit, SIGNAL(textChanged()), edit, [&scene, edit] {
                scene.page->tap(edit);
                scene.page->type(QStringLiteral("x"));
            });
        });
        QTest::newRow("the prefixed field's gainedFocus deletes it") << Setup([](Scene& scene) {
            auto* edit = scene.page->place(new PrefixTextEdit);
            edit->setPrefix(QStringLiteral("http://"));
            scene.set(edit, SIGNAL(gainedFocus(Qt::FocusReason)), edit, [&scene, edit] { scene.page->tap(edit); });
        });
        QTest::newRow("a paste's textChanged deletes the key field") << Setup([](Scene& scene) {
            auto* edit = scene.page->place(new KeyTextEdit);
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9a-f]{10}"), edit));
            QGuiApplication::clipboard()->setText(QStringLiteral("0123456789"));
            scene.set(edit, SIGNAL(textChanged()), edit, [&scene, edit] {
                scene.page->tap(edit);
                scene.page->key(Qt::Key_V, Qt::ControlModifier);
            });
        });
        QTest::newRow("a drill-down item's clicked deletes it") << Setup([](Scene& scene) {
            auto* item = scene.page->place(new DrillDownItem);
            item->setTitle(QStringLiteral("Connections"));
            item->setSubtitle(QStringLiteral("WLAN"));
            scene.set(item, SIGNAL(clicked()), item, [&scene, item] { scene.page->tap(item); });
        });
    }

    void receiverDeletes()
    {
        QFETCH(Setup, setup);
        Scene scene;
        scene.page = this;
        setup(scene);
        QVERIFY(scene.emitter && scene.trigger);
        DeletingReceiver deleter;
        deleter.victims = scene.victims;
        QVERIFY(QObject::connect(scene.emitter, scene.signal, &deleter, SLOT(deleteVictims())));
        scene.trigger();
        QTRY_VERIFY(deleter.calls > 0);
        for (const QPointer<QObject>& victim : qAsConst(scene.victims))
            QVERIFY(!victim);
        // Whatever was left for the event loop runs too.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        for (const QPointer<QObject>& leftover : qAsConst(scene.leftovers))
            delete leftover.data();
        MHelpButton::setHelpHandler({});
    }
};

QTEST_MAIN(TestReentrancy)
#include "tst_reentrancy.moc"

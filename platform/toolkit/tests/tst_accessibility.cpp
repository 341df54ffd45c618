// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The widgets as a screen reader meets them, in a window rendered offscreen:
// found by walking the accessible tree from the window, read, operated
// through their interfaces and the keyboard, with every announcement heard
// by an update handler.
#include <MBanner>
#include <MBasicSheetHeader>
#include <MButton>
#include <MButtonGroup>
#include <MComboBox>
#include <MDialog>
#include <MImageWidget>
#include <MLabel>
#include <MListItem>
#include <MMessageBox>
#include <MProgressIndicator>
#include <MSeparator>
#include <MSheet>
#include <MTextEdit>
#include <MWindow>

#include <QAccessible>
#include <QAction>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

namespace {

QList<QPair<QAccessible::Event, QObject*>> heard;
QStringList edits; // "insert 0 ab", "remove 1 bc", "update 0 ab xy"
std::function<void(QAccessibleEvent*)> onEvent;

void record(QAccessibleEvent* event)
{
    heard.append({event->type(), event->object()});
    if (event->type() == QAccessible::TextInserted) {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        edits.append(QStringLiteral("insert %1 %2").arg(e->changePosition()).arg(e->textInserted()));
    } else if (event->type() == QAccessible::TextRemoved) {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        edits.append(QStringLiteral("remove %1 %2").arg(e->changePosition()).arg(e->textRemoved()));
    } else if (event->type() == QAccessible::TextUpdated) {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
        edits.append(QStringLiteral("update %1 %2 %3").arg(e->changePosition()).arg(e->textRemoved(), e->textInserted()));
    }
    if (onEvent)
        onEvent(event);
}

bool wasHeard(QAccessible::Event type, QObject* object)
{
    return heard.contains({type, object});
}

// Depth-first, as a screen reader searches.
QList<QAccessibleInterface*> nodes(QAccessibleInterface* root)
{
    QList<QAccessibleInterface*> found;
    for (int i = 0; root && i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        found.append(child);
        found.append(nodes(child));
    }
    return found;
}

QAccessibleInterface* find(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    for (QAccessibleInterface* node : nodes(root)) {
        if (node && node->role() == role && node->text(QAccessible::Name) == name)
            return node;
    }
    return nullptr;
}

QAccessibleInterface* nodeOf(QObject* window, QObject* object)
{
    for (QAccessibleInterface* node : nodes(QAccessible::queryAccessibleInterface(window))) {
        if (node && node->object() == object)
            return node;
    }
    return nullptr;
}

QString states(QAccessible::State s)
{
    QStringList set;
    const QList<QPair<bool, const char*>> names{{bool(s.disabled), "disabled"}, {bool(s.focusable), "focusable"},
                                                {bool(s.checkable), "checkable"}, {bool(s.checked), "checked"},
                                                {bool(s.editable), "editable"}, {bool(s.passwordEdit), "password"},
                                                {bool(s.busy), "busy"}, {bool(s.modal), "modal"}};
    for (const auto& name : names) {
        if (name.first)
            set.append(QLatin1String(name.second));
    }
    return set.join(QLatin1Char(' '));
}

MWidget* listItem(const QString& title, const QString& subtitle)
{
    auto* item = new MListItem;
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical, item);
    layout->addItem(new MLabel(title));
    layout->addItem(new MLabel(subtitle));
    return item;
}

MWidget* button(const QString& text, bool checkable = false, bool checked = false)
{
    auto* b = new MButton(text);
    b->setCheckable(checkable);
    b->setChecked(checked);
    return b;
}

template<typename Widget>
Widget* with(Widget* widget, std::function<void(Widget*)> change)
{
    change(widget);
    return widget;
}

using Make = std::function<MWidget*()>;
using EditText = std::function<void(QAccessibleInterface*, MWindow*)>;
using Trigger = std::function<void(MWidget*, MWindow*)>;

} // namespace

Q_DECLARE_METATYPE(Make)
Q_DECLARE_METATYPE(EditText)
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(QAccessible::Role)
Q_DECLARE_METATYPE(QAccessible::Event)

class TestAccessibility : public QObject
{
    Q_OBJECT
    QScopedPointer<MWindow> window;
    QPointer<MSceneWindow> page;
    QGraphicsLinearLayout* layout = nullptr;

    // A page of the window with @p widgets in a column, laid out.
    template<typename... Widgets>
    void show(Widgets*... widgets)
    {
        for (QGraphicsLayoutItem* widget : {static_cast<QGraphicsLayoutItem*>(widgets)...})
            layout->addItem(widget);
        page->appear(window.data());
        QTRY_COMPARE(page->sceneWindowState(), MSceneWindow::Appeared);
        QTRY_VERIFY(layout->isActivated());
    }

    void press(QAccessibleInterface* node, const QString& action)
    {
        QVERIFY(node && node->actionInterface());
        QVERIFY2(node->actionInterface()->actionNames().contains(action), qPrintable(action));
        node->actionInterface()->doAction(action);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<Qt::FocusReason>();
        QAccessible::installUpdateHandler(record);
    }

    void init()
    {
        window.reset(new MWindow);
        window->setWindowTitle(QStringLiteral("Settings"));
        window->resize(480, 854);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        page = new MSceneWindow;
        layout = new QGraphicsLinearLayout(Qt::Vertical, page);
        heard.clear();
        edits.clear();
        onEvent = nullptr;
    }

    void cleanup()
    {
        onEvent = nullptr;
        delete page.data();
        window.reset();
    }

    void read_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("state");
        const auto row = [](const char* tag, Make make, QAccessible::Role role, const char* name,
                            const char* description, const char* state) {
            QTest::newRow(tag) << make << role << QString::fromUtf8(name) << QString::fromUtf8(description)
                               << QString::fromLatin1(state);
        };
        row("push button", [] { return button("OK"); }, QAccessible::PushButton, "OK", "", "focusable");
        row("named over its text", [] { return with<MWidget>(button("X"), [](MWidget* w) { w->setAccessibleName("Close"); }); },
            QAccessible::PushButton, "Close", "", "focusable");
        row("disabled", [] { return with<MWidget>(button("OK"), [](MWidget* w) { w->setEnabled(false); }); },
            QAccessible::PushButton, "OK", "", "disabled focusable");
        row("switch", [] { return button("Wi-Fi", true, true); }, QAccessible::CheckBox, "Wi-Fi", "",
            "focusable checkable checked");
        row("exclusive group", [] {
            auto* b = static_cast<MButton*>(button("WPA", true));
            (new MButtonGroup(b))->addButton(b);
            return b;
        }, QAccessible::RadioButton, "WPA", "", "focusable checkable");
        row("label, rich text read plain", [] { return new MLabel("<b>Signal</b> strong"); }, QAccessible::StaticText,
            "Signal strong", "", "");
        row("field by its prompt", [] { return with<MTextEdit>(new MTextEdit, [](MTextEdit* e) { e->setPrompt("SSID"); }); },
            QAccessible::EditableText, "SSID", "", "focusable editable");
        row("password field", [] {
            return with<MTextEdit>(new MTextEdit, [](MTextEdit* e) {
                e->setEchoMode(MTextEditModel::Password);
                e->setAccessibleName("Key");
            });
        }, QAccessible::EditableText, "Key", "", "focusable editable password");
        row("list item by its labels", [] { return listItem("Home", "WPA2"); }, QAccessible::ListItem, "Home", "WPA2",
            "focusable");
        row("list item named", [] {
            return with<MWidget>(listItem("Home", "WPA2"), [](MWidget* w) {
                w->setAccessibleName("Office");
                w->setAccessibleDescription("Out of range");
            });
        }, QAccessible::ListItem, "Office", "Out of range", "focusable");
        row("spinner", [] {
            return with<MProgressIndicator>(new MProgressIndicator, [](MProgressIndicator* p) { p->setUnknownDuration(true); });
        }, QAccessible::ProgressBar, "", "", "busy");
        row("combo box", [] {
            return with<MComboBox>(new MComboBox, [](MComboBox* c) {
                c->setTitle("Security");
                c->addItems({"None", "WEP"});
            });
        }, QAccessible::ComboBox, "Security", "", "focusable");
        row("named image", [] {
            return with<MWidget>(new MImageWidget("icon-m-common-wlan"), [](MWidget* w) { w->setAccessibleName("Wi-Fi"); });
        }, QAccessible::Graphic, "Wi-Fi", "", "");
        row("unnamed image", [] { return new MImageWidget("icon-m-common-wlan"); }, QAccessible::NoRole, "", "", "");
        row("separator", [] { return new MSeparator; }, QAccessible::NoRole, "", "", "");
    }

    void read()
    {
        QFETCH(Make, make);
        QFETCH(QAccessible::Role, role);
        MWidget* widget = make();
        show(widget);
        QAccessibleInterface* node = nodeOf(window.data(), widget);
        QCOMPARE(node ? node->role() : QAccessible::NoRole, role);
        if (!node)
            return;
        QTEST(node->text(QAccessible::Name), "name");
        QTEST(node->text(QAccessible::Description), "description");
        QTEST(states(node->state()), "state");
        QCOMPARE(node->parent()->object(), page.data());
        // A screen reader hit-tests what it finds at a place on the screen.
        const QPoint centre = node->rect().center();
        QCOMPARE(node->parent()->childAt(centre.x(), centre.y()), node);
        QVERIFY(window->rect().contains(window->mapFromGlobal(centre)));
    }

    // Show and hide, stacking and a modal layer decide what can be read.
    void tree()
    {
        auto* column = new MWidget;
        auto* rows = new QGraphicsLinearLayout(Qt::Vertical, column);
        MWidget *first = listItem("Home", "WPA2"), *second = listItem("Office", "Open");
        rows->addItem(second);
        rows->insertItem(0, first); // made after, shown before
        auto* below = new MLabel("Below");
        show(below, column, new MSeparator);
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.data());
        QCOMPARE(root->role(), QAccessible::Window);
        QCOMPARE(root->text(QAccessible::Name), QStringLiteral("Settings"));
        QCOMPARE(root->childCount(), 1);
        QCOMPARE(root->child(0)->role(), QAccessible::Pane);
        QAccessibleInterface* list = nodeOf(window.data(), column);
        QVERIFY(list && list->role() == QAccessible::List);
        QTRY_COMPARE(list->child(0) ? list->child(0)->text(QAccessible::Name) : QString(), QStringLiteral("Home"));
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(0)->childCount(), 0); // its labels are its name and description
        QCOMPARE(list->child(1)->parent()->object(), column);

        heard.clear();
        delete second;
        QTRY_VERIFY(wasHeard(QAccessible::ObjectReorder, column));
        QCOMPARE(list->childCount(), 1);
        below->hide();
        QVERIFY(!find(root, QAccessible::StaticText, "Below"));
        below->show();

        QPointer<MBanner> banner = new MBanner;
        banner->setTitle("Saved");
        banner->appear(window.data(), MSceneWindow::DestroyWhenDone);
        QVERIFY(wasHeard(QAccessible::Alert, banner));
        QCOMPARE(root->childCount(), 2);
        QCOMPARE(root->child(1)->role(), QAccessible::AlertMessage);

        MMessageBox box("Exit offline mode?", M::YesButton | M::NoButton);
        box.appear(window.data());
        QVERIFY(wasHeard(QAccessible::DialogStart, &box));
        QCOMPARE(root->childCount(), 1); // the modal layer hides the page and the banner
        QAccessibleInterface* question = root->child(0);
        QCOMPARE(question->role(), QAccessible::AlertMessage);
        QCOMPARE(question->text(QAccessible::Description), QStringLiteral("Exit offline mode?"));
        QVERIFY(question->state().modal);
        QVERIFY(find(question, QAccessible::PushButton, box.button(M::YesButton)->text()));
        QVERIFY(!find(root, QAccessible::StaticText, "Below"));
        box.disappear();
        QVERIFY(wasHeard(QAccessible::DialogEnd, &box));
        QVERIFY(find(root, QAccessible::StaticText, "Below"));
        delete banner.data();

        // A sheet covers the window: it is all there is to read.
        MSheet sheet;
        auto* header = new MBasicSheetHeader;
        QAction done(QStringLiteral("Done"));
        header->setPositiveAction(&done);
        sheet.setHeaderWidget(header);
        sheet.appear(window.data());
        QVERIFY(wasHeard(QAccessible::DialogStart, &sheet));
        QCOMPARE(root->childCount(), 1);
        QCOMPARE(root->child(0)->role(), QAccessible::Dialog);
        QVERIFY(root->child(0)->state().modal);
        QVERIFY(find(find(root, QAccessible::Grouping, ""), QAccessible::PushButton, "Done"));
    }

    void actions_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QString>("state");
        const auto row = [](const char* tag, Make make, const QString& action, const char* signal, const char* state) {
            QTest::newRow(tag) << make << action << QByteArray(signal) << QString::fromLatin1(state);
        };
        const QString press = QAccessibleActionInterface::pressAction();
        const QString toggle = QAccessibleActionInterface::toggleAction();
        row("press a button", [] { return button("OK"); }, press, SIGNAL(clicked(bool)), "focusable");
        row("toggle a switch", [] { return button("Wi-Fi", true); }, toggle, SIGNAL(toggled(bool)),
            "focusable checkable checked");
        row("press a switch", [] { return button("Wi-Fi", true, true); }, press, SIGNAL(toggled(bool)),
            "focusable checkable");
        row("click a list item", [] { return listItem("Home", ""); }, press, SIGNAL(clicked()), "focusable");
        row("open a combo box", [] {
            return with<MComboBox>(new MComboBox, [](MComboBox* c) { c->addItems({"None", "WEP"}); });
        }, press, SIGNAL(currentIndexChanged(int)), "focusable");
        row("focus a field", [] { return new MTextEdit; }, QAccessibleActionInterface::setFocusAction(),
            SIGNAL(gainedFocus(Qt::FocusReason)), "focusable editable");
    }

    void actions()
    {
        QFETCH(Make, make);
        QFETCH(QString, action);
        QFETCH(QByteArray, signal);
        MWidget* widget = make();
        show(widget);
        QSignalSpy spy(widget, signal.constData());
        QAccessibleInterface* node = nodeOf(window.data(), widget);
        press(node, action);
        if (auto* combo = qobject_cast<MComboBox*>(widget)) {
            // The popup is read and operated the same way, above the page.
            QTRY_VERIFY(combo->isPopupVisible());
            QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.data());
            QAccessibleInterface* wep = nullptr;
            QTRY_VERIFY((wep = find(root, QAccessible::CheckBox, "WEP")));
            press(wep, QAccessibleActionInterface::pressAction());
            QCOMPARE(node->text(QAccessible::Value), QStringLiteral("WEP"));
        }
        QCOMPARE(spy.count(), 1);
        QTEST(states(node->state()), "state");
        widget->setEnabled(false);
        QVERIFY(!node->actionInterface()->actionNames().contains(action));
        QTRY_VERIFY(wasHeard(QAccessible::StateChanged, widget));
    }

    void text_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("echo");
        QTest::addColumn<EditText>("edit");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("announced");
        const auto row = [](const char* tag, const char* before, int echo, EditText edit, const char* after,
                            QStringList announced) {
            QTest::newRow(tag) << QString::fromUtf8(before) << echo << edit << QString::fromUtf8(after) << announced;
        };
        const int normal = MTextEditModel::Normal, password = MTextEditModel::Password;
        row("inserted", "cd", normal, [](QAccessibleInterface* n, MWindow*) { n->editableTextInterface()->insertText(0, "ab"); },
            "abcd", {"insert 0 ab"});
        row("deleted", "abcd", normal, [](QAccessibleInterface* n, MWindow*) { n->editableTextInterface()->deleteText(1, 3); },
            "ad", {"remove 1 bc"});
        row("replaced", "abcd", normal, [](QAccessibleInterface* n, MWindow*) {
            n->editableTextInterface()->replaceText(0, 2, "xy");
        }, "xycd", {"update 0 ab xy"});
        row("typed", "ab", normal, [](QAccessibleInterface*, MWindow* w) { QTest::keyClicks(w->viewport(), "c"); }, "abc",
            {"insert 2 c"});
        row("erased by key", "abc", normal, [](QAccessibleInterface*, MWindow* w) {
            QTest::keyClick(w->viewport(), Qt::Key_Backspace);
        }, "ab", {"remove 2 c"});
        row("hidden text", "cret", password, [](QAccessibleInterface* n, MWindow*) {
            n->editableTextInterface()->insertText(0, "se");
        }, "secret", {"insert 0 \u25cf\u25cf"});
        row("refused by the validator", "12", normal, [](QAccessibleInterface* n, MWindow*) {
            n->editableTextInterface()->insertText(0, "a");
        }, "12", {});
    }

    void text()
    {
        QFETCH(QString, before);
        QFETCH(int, echo);
        QFETCH(QStringList, announced);
        QRegularExpressionValidator digits(QRegularExpression(QStringLiteral("\\d*")));
        auto* field = new MTextEdit(MTextEditModel::SingleLine, before);
        field->setEchoMode(MTextEditModel::EchoMode(echo));
        if (QTest::currentDataTag() == QByteArrayLiteral("refused by the validator"))
            field->setValidator(&digits);
        show(field);
        QAccessibleInterface* node = nodeOf(window.data(), field);
        press(node, QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(field->hasFocus() && node->state().focused);
        QTRY_VERIFY(wasHeard(QAccessible::Focus, field));
        node->textInterface()->setCursorPosition(before.size());
        heard.clear();
        edits.clear();
        QFETCH(EditText, edit);
        edit(node, window.data());
        QTEST(field->text(), "after");
        QCOMPARE(edits, announced);
        QVERIFY(field->text() == before || wasHeard(QAccessible::TextCaretMoved, field));
        QAccessibleTextInterface* text = node->textInterface();
        QCOMPARE(text->characterCount(), field->text().size());
        QCOMPARE(text->cursorPosition(), field->cursorPosition());
        QCOMPARE(text->text(0, text->characterCount()) == field->text(), echo == MTextEditModel::Normal);
        QCOMPARE(node->state().passwordEdit, echo != MTextEditModel::Normal);
        text->setSelection(0, 0, 1);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(QPoint(start, end), QPoint(0, 1));
    }

    // Tab walks the controls of the top scene window as they are seen,
    // Space and Return operate them, and the focus is drawn.
    void keyboard()
    {
        auto* field = new MTextEdit;
        auto* row = new MWidget;
        auto* buttons = new QGraphicsLinearLayout(Qt::Horizontal, row);
        auto* ok = static_cast<MButton*>(button("OK"));
        auto* cancel = static_cast<MButton*>(button("Cancel"));
        buttons->addItem(ok);
        buttons->insertItem(0, cancel);
        auto* item = static_cast<MListItem*>(listItem("Home", "WPA2"));
        show(new MLabel("Name"), field, row);
        layout->insertItem(0, item); // made after the others, shown above them
        QTRY_VERIFY(item->isVisible() && item->geometry().bottom() <= field->geometry().top());

        const QList<QGraphicsWidget*> order{item, field, cancel, ok, item};
        for (QGraphicsWidget* next : order) {
            QTest::keyClick(window.data(), Qt::Key_Tab);
            QVERIFY(next->hasFocus());
            QTRY_VERIFY(wasHeard(QAccessible::Focus, next));
        }
        QTest::keyClick(window.data(), Qt::Key_Backtab);
        QVERIFY(ok->hasFocus());

        QSignalSpy okClicked(ok, &MButton::clicked), itemClicked(item, &MListItem::clicked);
        QTest::keyClick(window->viewport(), Qt::Key_Space);
        QTest::keyClick(window.data(), Qt::Key_Tab);
        QTest::keyClick(window->viewport(), Qt::Key_Return);
        QCOMPARE(okClicked.count(), 1);
        QCOMPARE(itemClicked.count(), 1);

        const QRect place = window->mapFromScene(ok->sceneBoundingRect()).boundingRect();
        const QImage unfocused = window->grab(place).toImage();
        ok->setFocus(Qt::TabFocusReason);
        QVERIFY(window->grab(place).toImage() != unfocused);

        // A dialog keeps Tab to itself.
        MDialog dialog("Delete?", M::YesButton | M::NoButton);
        dialog.appear(window.data());
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(window.data(), Qt::Key_Tab);
            QVERIFY(dialog.isAncestorOf(window->scene()->focusItem()));
        }
    }

    // A receiver of an announcement may delete what it is about, or the
    // whole window: nothing dangles, the tree stays readable.
    void receiverDeletes_data()
    {
        QTest::addColumn<QAccessible::Event>("event");
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<bool>("wholeWindow");
        const auto row = [](const char* tag, QAccessible::Event event, Trigger trigger) {
            QTest::newRow(tag) << event << trigger << false;
            QTest::newRow(QByteArray(tag).append(", window and all").constData()) << event << trigger << true;
        };
        row("named", QAccessible::NameChanged, [](MWidget* w, MWindow*) { w->setAccessibleName("x"); });
        row("focused by Tab", QAccessible::Focus, [](MWidget*, MWindow* window) {
            QTest::keyClick(window, Qt::Key_Tab);
        });
        row("toggled", QAccessible::StateChanged, [](MWidget* w, MWindow*) { static_cast<MButton*>(w)->click(); });
        row("text typed", QAccessible::TextInserted, [](MWidget* w, MWindow*) { static_cast<MTextEdit*>(w)->insert("a"); });
        row("caret moved", QAccessible::TextCaretMoved, [](MWidget* w, MWindow*) {
            static_cast<MTextEdit*>(w)->setCursorPosition(0);
        });
        row("dialog shown", QAccessible::DialogStart, [](MWidget*, MWindow* window) {
            (new MDialog("Delete?", M::YesButton))->appear(window, MSceneWindow::DestroyWhenDone);
        });
    }

    void receiverDeletes()
    {
        QFETCH(QAccessible::Event, event);
        QFETCH(bool, wholeWindow);
        const QByteArray tag = QTest::currentDataTag();
        MWidget* widget = tag.startsWith("text") || tag.startsWith("caret")
                              ? static_cast<MWidget*>(new MTextEdit(MTextEditModel::SingleLine, "ab"))
                              : button("Wi-Fi", true);
        show(widget);
        QAccessibleInterface* node = nodeOf(window.data(), widget);
        const QAccessible::Id id = QAccessible::uniqueId(node);
        QPointer<QObject> target = widget;
        QPointer<MWindow> view = window.data();
        bool done = false;
        onEvent = [&](QAccessibleEvent* e) {
            if (done || e->type() != event)
                return;
            done = true;
            delete (qobject_cast<MSceneWindow*>(e->object()) ? e->object() : target.data());
            if (wholeWindow)
                window.reset();
            // What a client finds next, while the sender is still on the stack.
            if (view)
                nodes(QAccessible::queryAccessibleInterface(view));
        };
        QFETCH(Trigger, trigger);
        trigger(widget, window.data());
        QTRY_VERIFY(done);
        if (!tag.startsWith("dialog"))
            QVERIFY(!target && !QAccessible::accessibleInterface(id));
        QCOMPARE(!view, wholeWindow);
        if (view)
            QCOMPARE(nodes(QAccessible::queryAccessibleInterface(view)).contains(nullptr), false);
    }

    // A client that hears of a widget's end before Qt forgets its interface
    // finds it invalid, and every question harmless.
    void interfaceOutlivesItsWidget()
    {
        auto* ok = button("OK");
        show(ok);
        bool asked = false;
        connect(ok, &QObject::destroyed, this, [&, ok] {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(ok);
            asked = true;
            QVERIFY(node && !node->isValid());
            QCOMPARE(node->role(), QAccessible::NoRole);
            QVERIFY(node->state().invalid);
            QVERIFY(node->text(QAccessible::Name).isEmpty() && node->rect().isNull());
            QVERIFY(!node->parent() && !node->child(0) && node->childCount() == 0);
            QVERIFY(node->actionInterface()->actionNames().isEmpty());
            node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        });
        QVERIFY(nodeOf(window.data(), ok)); // known to Qt before the connection above runs
        delete ok;
        QVERIFY(asked);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"

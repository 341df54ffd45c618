// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The widgets as a screen reader meets them in a window rendered offscreen,
// and every announcement as an update handler hears it.
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

void record(QAccessibleEvent* e)
{
    heard.append({e->type(), e->object()});
    if (auto* t = dynamic_cast<QAccessibleTextInsertEvent*>(e))
        edits << QStringLiteral("insert %1 %2").arg(t->changePosition()).arg(t->textInserted());
    else if (auto* t = dynamic_cast<QAccessibleTextRemoveEvent*>(e))
        edits << QStringLiteral("remove %1 %2").arg(t->changePosition()).arg(t->textRemoved());
    else if (auto* t = dynamic_cast<QAccessibleTextUpdateEvent*>(e))
        edits << QStringLiteral("update %1 %2 %3").arg(t->changePosition()).arg(t->textRemoved(), t->textInserted());
    if (onEvent)
        onEvent(e);
}

bool wasHeard(QAccessible::Event type, QObject* object)
{
    return heard.contains({type, object});
}

// Depth-first, as a screen reader searches.
QList<QAccessibleInterface*> nodes(QAccessibleInterface* root)
{
    QList<QAccessibleInterface*> found;
    for (int i = 0; root && i < root->childCount(); ++i)
        found << root->child(i) << nodes(root->child(i));
    return found;
}

QAccessibleInterface* find(QAccessibleInterface* root, std::function<bool(QAccessibleInterface*)> match)
{
    const QList<QAccessibleInterface*> all = nodes(root);
    const auto it = std::find_if(all.begin(), all.end(), [&](QAccessibleInterface* n) { return n && match(n); });
    return it == all.end() ? nullptr : *it;
}

QAccessibleInterface* find(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    return find(root, [&](QAccessibleInterface* n) { return n->role() == role && n->text(QAccessible::Name) == name; });
}

QAccessibleInterface* nodeOf(QObject* window, QObject* object)
{
    return find(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* n) { return n->object() == object; });
}

QString roleName(QAccessible::Role role)
{
    const QMetaObject& meta = QAccessible::staticMetaObject;
    if (role == QAccessible::PushButton) // not by its older name, Button
        return QStringLiteral("PushButton");
    return QString::fromLatin1(meta.enumerator(meta.indexOfEnumerator("Role")).valueToKey(role));
}

// What a screen reader says of a node: role, name, description, states.
QString reading(QAccessibleInterface* n)
{
    const QAccessible::State s = n->state();
    const QStringList said{roleName(n->role()), n->text(QAccessible::Name), n->text(QAccessible::Description), n->text(QAccessible::Value),
                           s.disabled ? "disabled" : "", s.focusable ? "focusable" : "", s.checkable ? "checkable" : "",
                           s.checked ? "checked" : "", s.editable ? "editable" : "", s.passwordEdit ? "password" : "",
                           s.busy ? "busy" : "", s.modal ? "modal" : ""};
    return said.filter(QRegularExpression(QStringLiteral("."))).join(QLatin1String(", "));
}

// The tree below @p root by roles and names: "Pane(StaticText Below, List(...))".
QString outline(QAccessibleInterface* root)
{
    QStringList children;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        children << (roleName(child->role()) + QLatin1Char(' ') + child->text(QAccessible::Name)).trimmed()
                        + (child->childCount() ? QLatin1Char('(') + outline(child) + QLatin1Char(')') : QString());
    }
    return children.join(QLatin1String(", "));
}

MWidget* listItem(const QString& title, const QString& subtitle)
{
    auto* item = new MListItem;
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical, item);
    layout->addItem(new MLabel(title));
    layout->addItem(new MLabel(subtitle));
    return item;
}

MButton* button(const QString& text, bool checkable = false, bool checked = false)
{
    auto* b = new MButton(text);
    b->setCheckable(checkable);
    b->setChecked(checked);
    return b;
}

using Make = std::function<MWidget*()>;
using EditText = std::function<void(QAccessibleEditableTextInterface*, MWindow*)>;
using Trigger = std::function<void(MWidget*, MWindow*)>;
const QString press = QAccessibleActionInterface::pressAction();
const QString toggle = QAccessibleActionInterface::toggleAction();

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

    static void act(QAccessibleInterface* node, const QString& action)
    {
        QVERIFY(node && node->actionInterface()->actionNames().contains(action));
        node->actionInterface()->doAction(action);
    }

private Q_SLOTS:
    void initTestCase() { QAccessible::installUpdateHandler(record); }

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
    }

    void cleanup()
    {
        onEvent = nullptr;
        delete page.data();
        window.reset();
    }

    // Each widget read, then operated by its action as a tap would.
    void readAndOperate_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("signal"); // that the action emits once
        QTest::addColumn<QString>("readAfter");
        const auto row = [](const char* tag, Make make, const char* read, const QString& action = {},
                            const char* signal = "", const char* after = "") {
            QTest::newRow(tag) << make << QString::fromUtf8(read) << action << QByteArray(signal) << QString::fromUtf8(after);
        };
        row("push button", [] { return button("OK"); }, "PushButton, OK, focusable", press, SIGNAL(clicked(bool)),
            "PushButton, OK, focusable");
        row("disabled, named over its text", [] { auto* b = button("X"); b->setAccessibleName("Close"), b->setEnabled(false); return b; },
            "PushButton, Close, disabled, focusable");
        row("switch", [] { return button("Wi-Fi", true); }, "CheckBox, Wi-Fi, focusable, checkable", toggle,
            SIGNAL(toggled(bool)), "CheckBox, Wi-Fi, focusable, checkable, checked");
        row("exclusive group", [] { auto* b = button("WPA", true); (new MButtonGroup(b))->addButton(b); return b; },
            "RadioButton, WPA, focusable, checkable", press, SIGNAL(clicked(bool)), "RadioButton, WPA, focusable, checkable, checked");
        row("label, rich text read plain", [] { return new MLabel("<b>Signal</b> strong"); }, "StaticText, Signal strong");
        row("field by its prompt", [] { auto* e = new MTextEdit; e->setPrompt("SSID"); return e; },
            "EditableText, SSID, focusable, editable");
        row("password field", [] { auto* e = new MTextEdit; e->setEchoMode(MTextEditModel::Password), e->setAccessibleName("Key"); return e; },
            "EditableText, Key, focusable, editable, password");
        row("list item by its labels", [] { return listItem("Home", "WPA2"); }, "ListItem, Home, WPA2, focusable", press,
            SIGNAL(clicked()), "ListItem, Home, WPA2, focusable");
        row("list item named", [] { auto* i = listItem("Home", "WPA2"); i->setAccessibleName("Office"), i->setAccessibleDescription("Out of range"); return i; },
            "ListItem, Office, Out of range, focusable");
        row("spinner", [] { auto* p = new MProgressIndicator; p->setUnknownDuration(true); return p; }, "ProgressBar, busy");
        row("combo box", [] { auto* c = new MComboBox; c->setTitle("Security"), c->addItems({"None", "WEP"}); return c; },
            "ComboBox, Security, focusable", press, SIGNAL(currentIndexChanged(int)), "ComboBox, Security, WEP, focusable");
        row("named image", [] { auto* i = new MImageWidget("icon-m-common-wlan"); i->setAccessibleName("Wi-Fi"); return i; }, "Graphic, Wi-Fi");
        row("unnamed image", [] { return new MImageWidget("icon-m-common-wlan"); }, "");
    }

    void readAndOperate()
    {
        QFETCH(Make, make);
        QFETCH(QString, action);
        QFETCH(QByteArray, signal);
        MWidget* widget = make();
        show(widget);
        QAccessibleInterface* node = nodeOf(window.data(), widget);
        QTEST(node ? reading(node) : QString(), "read");
        if (!node)
            return;
        QCOMPARE(node->parent()->object(), page.data());
        // A screen reader hit-tests what it finds at a place on the screen.
        const QPoint centre = node->rect().center();
        QCOMPARE(node->parent()->childAt(centre.x(), centre.y()), node);
        if (action.isEmpty())
            return;
        QSignalSpy spy(widget, signal.constData());
        act(node, action);
        if (auto* combo = qobject_cast<MComboBox*>(widget)) { // its popup is read and operated the same way
            QTRY_VERIFY(combo->isPopupVisible() && page->isAncestorOf(widget));
            act(find(QAccessible::queryAccessibleInterface(window.data()), QAccessible::CheckBox, "WEP"), press);
        }
        QCOMPARE(spy.count(), 1);
        QTEST(reading(node), "readAfter");
        widget->setEnabled(false);
        QVERIFY(!node->actionInterface()->actionNames().contains(action));
        QTRY_VERIFY(wasHeard(QAccessible::StateChanged, widget));
    }

    // Show and hide, stacking and a modal layer decide what can be read.
    void tree()
    {
        auto* column = new MWidget;
        auto* rows = new QGraphicsLinearLayout(Qt::Vertical, column);
        MWidget* second = listItem("Office", "Open");
        rows->addItem(second);
        rows->insertItem(0, listItem("Home", "WPA2")); // made after, shown before
        auto* below = new MLabel("Below");
        show(below, column, new MSeparator);
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.data());
        QCOMPARE(reading(root), QStringLiteral("Window, Settings, focusable"));
        const QString page = QStringLiteral("Pane(StaticText Below, List(ListItem Home%1))");
        QTRY_COMPARE(outline(root), page.arg(", ListItem Office"));
        delete second;
        QTRY_VERIFY(wasHeard(QAccessible::ObjectReorder, column));
        QCOMPARE(outline(root), page.arg(""));
        below->hide();
        QCOMPARE(outline(root), QStringLiteral("Pane(List(ListItem Home))"));
        below->show();

        QPointer<MBanner> banner = new MBanner;
        banner->setTitle("Saved");
        banner->appear(window.data(), MSceneWindow::DestroyWhenDone);
        QVERIFY(wasHeard(QAccessible::Alert, banner));
        QCOMPARE(outline(root), page.arg("") + ", AlertMessage Saved(StaticText Saved)");

        MMessageBox box("Exit offline mode?", M::YesButton | M::NoButton);
        box.appear(window.data());
        QVERIFY(wasHeard(QAccessible::DialogStart, &box));
        // The modal layer hides the page and the banner.
        QTRY_COMPARE(outline(root), "AlertMessage(StaticText Exit offline mode?, PushButton Yes, PushButton No)");
        QCOMPARE(reading(root->child(0)), "AlertMessage, Exit offline mode?, modal");
        box.disappear();
        QVERIFY(wasHeard(QAccessible::DialogEnd, &box));
        QCOMPARE(outline(root), page.arg("") + ", AlertMessage Saved(StaticText Saved)");
        delete banner.data();

        // A sheet covers the window: it is all there is to read.
        MSheet sheet;
        auto* header = new MBasicSheetHeader;
        QAction done(QStringLiteral("Done"));
        header->setPositiveAction(&done);
        sheet.setHeaderWidget(header);
        sheet.appear(window.data());
        QVERIFY(wasHeard(QAccessible::DialogStart, &sheet));
        QCOMPARE(outline(root), QStringLiteral("Dialog(Grouping(PushButton Done))"));
        QCOMPARE(reading(root->child(0)), QStringLiteral("Dialog, modal"));
    }

    // Edits through the interfaces and as typed, and what a listener hears of them.
    void text_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<EditText>("edit");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("announced");
        const auto row = [](const char* tag, const char* before, bool hidden, EditText edit, const char* after,
                            QStringList announced) {
            QTest::newRow(tag) << QString::fromUtf8(before) << hidden << edit << QString::fromUtf8(after) << announced;
        };
        row("inserted", "cd", false, [](auto* e, MWindow*) { e->insertText(0, "ab"); }, "abcd", {"insert 0 ab"});
        row("deleted", "abcd", false, [](auto* e, MWindow*) { e->deleteText(1, 3); }, "ad", {"remove 1 bc"});
        row("replaced", "abcd", false, [](auto* e, MWindow*) { e->replaceText(0, 2, "xy"); }, "xycd", {"update 0 ab xy"});
        row("typed", "ab", false, [](auto*, MWindow* w) { QTest::keyClicks(w->viewport(), "c"); }, "abc", {"insert 2 c"});
        row("erased by key", "abc", false, [](auto*, MWindow* w) { QTest::keyClick(w->viewport(), Qt::Key_Backspace); },
            "ab", {"remove 2 c"});
        row("hidden text", "cret", true, [](auto* e, MWindow*) { e->insertText(0, "se"); }, "secret",
            {"insert 0 \u25cf\u25cf"});
        row("refused by the validator", "12", false, [](auto* e, MWindow*) { e->insertText(0, "a"); }, "12", {});
    }

    void text()
    {
        QFETCH(QString, before);
        QFETCH(bool, hidden);
        QFETCH(EditText, edit);
        QRegularExpressionValidator digits(QRegularExpression(QStringLiteral("\\d*")));
        auto* field = new MTextEdit(MTextEditModel::SingleLine, before);
        field->setEchoMode(hidden ? MTextEditModel::Password : MTextEditModel::Normal);
        field->setValidator(before == QLatin1String("12") ? &digits : nullptr);
        show(field);
        QAccessibleInterface* node = nodeOf(window.data(), field);
        act(node, QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(field->hasFocus() && node->state().focused && wasHeard(QAccessible::Focus, field));
        QAccessibleTextInterface* text = node->textInterface();
        text->setCursorPosition(before.size());
        heard.clear();
        edits.clear();
        edit(node->editableTextInterface(), window.data());
        QTEST(field->text(), "after");
        QTEST(edits, "announced");
        QVERIFY(field->text() == before || wasHeard(QAccessible::TextCaretMoved, field));
        QCOMPARE(text->characterCount(), field->text().size());
        QCOMPARE(text->cursorPosition(), field->cursorPosition());
        QCOMPARE(text->text(0, text->characterCount()) == field->text(), !hidden);
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
        MButton *ok = button("OK"), *cancel = button("Cancel");
        buttons->addItem(ok);
        buttons->insertItem(0, cancel);
        auto* item = static_cast<MListItem*>(listItem("Home", "WPA2"));
        show(new MLabel("Name"), field, row);
        layout->insertItem(0, item); // made after the others, shown above them
        QTRY_VERIFY(item->isVisible() && item->geometry().bottom() <= field->geometry().top());
        for (QGraphicsWidget* next : QList<QGraphicsWidget*>{item, field, cancel, ok, item}) {
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

    // A receiver of an announcement may delete what it is about, and the
    // window too: nothing dangles, the tree stays readable.
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
        row("focused by Tab", QAccessible::Focus, [](MWidget*, MWindow* window) { QTest::keyClick(window, Qt::Key_Tab); });
        row("toggled", QAccessible::StateChanged, [](MWidget* w, MWindow*) { static_cast<MButton*>(w)->click(); });
        row("text typed", QAccessible::TextInserted, [](MWidget* w, MWindow*) { static_cast<MTextEdit*>(w)->insert("a"); });
        row("dialog shown", QAccessible::DialogStart, [](MWidget*, MWindow* window) {
            (new MDialog("Delete?", M::YesButton))->appear(window, MSceneWindow::DestroyWhenDone);
        });
    }

    void receiverDeletes()
    {
        QFETCH(QAccessible::Event, event);
        QFETCH(Trigger, trigger);
        QFETCH(bool, wholeWindow);
        const QByteArray tag = QTest::currentDataTag();
        MWidget* widget = tag.startsWith("text") ? static_cast<MWidget*>(new MTextEdit) : button("Wi-Fi", true);
        show(widget);
        const QAccessible::Id id = QAccessible::uniqueId(nodeOf(window.data(), widget));
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
        trigger(widget, window.data());
        QTRY_VERIFY(done);
        QVERIFY(tag.startsWith("dialog") || (!target && !QAccessible::accessibleInterface(id)));
        QCOMPARE(!view, wholeWindow);
        QVERIFY(!view || !nodes(QAccessible::queryAccessibleInterface(view)).contains(nullptr));
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
            QVERIFY(node && !node->isValid() && node->state().invalid);
            QCOMPARE(node->role(), QAccessible::NoRole);
            QVERIFY(node->text(QAccessible::Name).isEmpty() && node->rect().isNull());
            QVERIFY(!node->parent() && !node->child(0) && node->childCount() == 0);
            QVERIFY(node->actionInterface()->actionNames().isEmpty());
            node->actionInterface()->doAction(press);
        });
        QVERIFY(nodeOf(window.data(), ok)); // known to Qt only now, after the connection above
        delete ok;
        QVERIFY(asked);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"

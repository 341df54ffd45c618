// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The widgets driven as a person would, in a window rendered offscreen: taps
// are mouse clicks on the viewport at an item's place, keys go to the focus.
#include <MBanner>
#include <MButton>
#include <MComboBox>
#include <MDialog>
#include <MTextEdit>
#include <MWindow>

#include <QClipboard>
#include <QGraphicsScene>
#include <QInputMethodEvent>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

namespace {

void tap(MWindow* window, const QGraphicsItem* item)
{
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, window->mapFromScene(item->sceneBoundingRect().center()));
}

template<typename Window>
Window* shown(Window* sceneWindow, MWindow* window)
{
    if (sceneWindow->sceneWindowState() == MSceneWindow::Disappeared) // keeps the policy of one shown already
        sceneWindow->appear(window);
    if (!QTest::qWaitFor([=] { return sceneWindow->sceneWindowState() == MSceneWindow::Appeared; }))
        qWarning("the scene window did not appear");
    return sceneWindow;
}

using Objects = QList<QPointer<QObject>>;

// Deletes its victims when the signal it watches comes; trigger() makes it come.
class Deleter : public QObject
{
    Q_OBJECT
public:
    Objects victims;
    std::function<void()> trigger;
    void watch(QObject* emitter, const char* signal, const Objects& doomed, std::function<void()> how)
    {
        connect(emitter, signal, this, SLOT(run()));
        victims = doomed;
        trigger = std::move(how);
    }
public Q_SLOTS:
    void run() { qDeleteAll(std::exchange(victims, {})); }
};

} // namespace

// What is typed, pasted and committed into a field, and what must come of it.
struct Edit
{
    QString text, clipboard;
    QList<QKeySequence> keys;
    QString typed, committed, expected;
    int cursor;
    enum { Free, Validated /* "x", three digits */, Limited /* four characters */, Password } rule = Free;
};
using Setup = std::function<void(MWindow*, Deleter&)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Setup)

class TestWidgets : public QObject
{
    Q_OBJECT
    QScopedPointer<MWindow> window;

private Q_SLOTS:
    void init()
    {
        window.reset(new MWindow);
        window->resize(480, 854);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    }
    void cleanup() { window.reset(); }

    void editing_data()
    {
        QTest::addColumn<Edit>("edit");
        const QKeySequence home(Qt::Key_Home), end(Qt::Key_End), shiftLeft(Qt::SHIFT | Qt::Key_Left),
            shiftRight(Qt::SHIFT | Qt::Key_Right), cut(Qt::CTRL | Qt::Key_X), paste(Qt::CTRL | Qt::Key_V);
        const auto row = [](const char* name, Edit edit) { QTest::newRow(name) << edit; };
        row("cut, paste", {"abc", "", {home, shiftRight, cut, end, paste}, "", "", "bca", 3});
        row("paste over a selection", {"abc", "XY", {shiftLeft, paste}, "", "", "abXY", 4});
        row("pasted lines flattened", {"", "a\nb", {paste}, "", "", "a b", 3});
        row("no line break", {"ab", "", {Qt::Key_Return, Qt::Key_Enter}, "c", "", "abc", 3});
        row("committed", {"ab", "", {home}, "", "\xc3\xa4", "\xc3\xa4" "ab", 1});
        row("invalid letter typed", {"x1", "", {}, "a2", "", "x12", 3, Edit::Validated});
        row("invalid paste", {"x1", "ab", {paste}, "", "", "x1", 2, Edit::Validated});
        row("valid paste", {"x1", "23", {paste}, "", "", "x123", 4, Edit::Validated});
        row("invalid delete", {"x12", "", {home, Qt::Key_Delete}, "", "", "x12", 0, Edit::Validated});
        row("invalid cut", {"x12", "", {home, shiftRight, cut}, "", "", "x12", 1, Edit::Validated});
        row("invalid commit", {"x1", "", {}, "", "q", "x1", 2, Edit::Validated});
        row("typed past the limit", {"abc", "", {}, "de", "", "abcd", 4, Edit::Limited});
        const QString oversized(1 << 20, QLatin1Char('z'));
        row("oversized paste cut to the limit", {"12", oversized, {paste}, "", "", "12zz", 4, Edit::Limited});
        row("commit past the limit", {"abcd", "", {home}, "", "z", "abcd", 0, Edit::Limited});
        row("password", {"se", "", {}, "cret", "", "secret", 6, Edit::Password});
    }

    void editing()
    {
        QFETCH(Edit, edit);
        QRegularExpressionValidator validator(QRegularExpression(QStringLiteral("x\\d{0,3}")));
        auto* field = new MTextEdit;
        window->scene()->addItem(field);
        field->setGeometry(QRectF(0, 0, 400, 60));
        tap(window.data(), field);
        field->setValidator(edit.rule == Edit::Validated ? &validator : nullptr);
        field->setMaxLength(edit.rule == Edit::Limited ? 4 : 0);
        field->setEchoMode(edit.rule == Edit::Password ? MTextEditModel::Password : MTextEditModel::Normal);
        QVERIFY(field->setText(edit.text));
        QGuiApplication::clipboard()->setText(edit.clipboard);
        QSignalSpy changed(field, &MTextEdit::textChanged);
        for (const QKeySequence& sequence : qAsConst(edit.keys))
            QTest::keySequence(window->viewport(), sequence);
        QTest::keyClicks(window->viewport(), edit.typed);
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(edit.committed);
        QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
        QCOMPARE(field->text(), edit.expected);
        QCOMPARE(field->cursorPosition(), edit.cursor);
        QCOMPARE(field->textCursor().position(), edit.cursor);
        QCOMPARE(changed.isEmpty(), edit.expected == edit.text); // refused edits tell nobody
        // A password is drawn alike for any text of its length, and the input
        // method is not told it.
        const bool hidden = edit.rule == Edit::Password;
        QInputMethodQueryEvent query(Qt::ImSurroundingText | Qt::ImHints);
        QCoreApplication::sendEvent(QGuiApplication::focusObject(), &query);
        QCOMPARE(query.value(Qt::ImSurroundingText).toString() == edit.expected, !hidden);
        QCOMPARE(bool(query.value(Qt::ImHints).toInt() & Qt::ImhHiddenText), hidden);
        const QImage before = window->grab().toImage();
        field->setText(QString(edit.expected.size(), QLatin1Char('W')));
        QCOMPARE(window->grab().toImage() == before, hidden);
    }

    // A receiver may delete the emitter, and what it holds, during the
    // emission: the emitter must touch nothing of its own afterwards.
    void receiverDeletesTheEmitter_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::newRow("dialog appeared") << Setup([](MWindow* window, Deleter& deleter) {
            auto* dialog = new MDialog(QStringLiteral("Title"), M::OkButton);
            deleter.watch(dialog, SIGNAL(appeared()), {dialog}, [=] { dialog->appear(window); });
        });
        QTest::newRow("dialog finished") << Setup([](MWindow* window, Deleter& deleter) {
            MDialog* dialog = shown(new MDialog(QStringLiteral("Title"), M::OkButton), window);
            deleter.watch(dialog, SIGNAL(finished(int)), {dialog}, [=] { tap(window, dialog->button(M::OkButton)); });
        });
        QTest::newRow("banner tapped") << Setup([](MWindow* window, Deleter& deleter) {
            MBanner* banner = shown(new MBanner, window);
            deleter.watch(banner, SIGNAL(disappeared()), {banner}, [=] { tap(window, banner); });
        });
        // The pick deletes the combo box, or its list with every scene window.
        for (const bool list : {false, true}) {
            QTest::newRow(list ? "combo box list deleted" : "combo box picked") << Setup([=](MWindow* w, Deleter& deleter) {
                auto* combo = new MComboBox;
                w->scene()->addItem(combo);
                combo->setGeometry(0, 0, 480, 80);
                combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
                tap(w, combo);
                MSceneWindow* popup = shown(w->sceneWindows().value(0), w);
                QGraphicsItem* pick = w->itemAt(w->mapFromScene(popup->sceneBoundingRect().center()));
                const QList<MSceneWindow*> all = w->sceneWindows();
                const Objects doomed = list ? Objects(all.cbegin(), all.cend()) : Objects{combo};
                deleter.watch(combo, SIGNAL(activated(int)), doomed, [=] { tap(w, pick); });
            });
        }
    }

    void receiverDeletesTheEmitter()
    {
        QFETCH(Setup, setup);
        Deleter deleter;
        setup(window.data(), deleter);
        const Objects victims = deleter.victims;
        deleter.trigger();
        QTRY_VERIFY(deleter.victims.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QObject>& victim : victims)
            QVERIFY(!victim);
        QVERIFY(window->sceneWindows().isEmpty());
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"

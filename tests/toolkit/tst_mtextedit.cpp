#include "toolkittest.h"

#include <MInputMethodState>
#include <MTextEdit>

#include <QClipboard>
#include <QGraphicsScene>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QIntValidator>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace ToolkitTest;
using Keys = QList<QKeySequence>;

Q_DECLARE_METATYPE(MTextEditModel::LineMode)

namespace {

class CountingPasteEdit : public MTextEdit
{
public:
    void paste() override
    {
        ++pastes;
        MTextEdit::paste();
    }
    int pastes = 0;
};

// The input method's side: it talks to whatever has the focus.
QVariant imQuery(Qt::InputMethodQuery query)
{
    QInputMethodQueryEvent event(query);
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);
    return event.value(query);
}

void imCommit(const QString& text)
{
    QInputMethodEvent event(QString(), {});
    event.setCommitString(text);
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);
}

QImage render(MTextEdit* edit)
{
    QImage image(edit->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    edit->paint(&painter, &option, nullptr);
    return image;
}

// The bounding box of the pixels of the field's text area that match: ink,
// or the cursor, which the theme draws in its accent colour.
enum Pixels { Ink, Cursor };
QRect box(MTextEdit* edit, Pixels kind)
{
    const QImage image = render(edit);
    const QRect area = edit->contentsRect().toRect();
    const QRgb accent = QColor(QStringLiteral("#1f6fd0")).rgb();
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (kind == Ink ? qGray(pixel) < 200 : pixel == accent)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

} // namespace

class TestMTextEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void tapGivesFocusAndKeysFollowIt();
    void editing_data();
    void editing();
    void signalsOnlyForRealChanges();
    void lineModes_data();
    void lineModes();
    void maxLengthAndAcceptableInput();
    void inputMethodQueries();
    void indentAndPromptArePainted_data();
    void indentAndPromptArePainted();
    void passwordPaintsBullets();
    void longTextKeepsCursorInView_data();
    void longTextKeepsCursorInView();

    void attributeExtensions();
    void softwareInputPanel();

private:
    MTextEdit* addField(MTextEditModel::LineMode mode = MTextEditModel::SingleLine, qreal y = 0,
                        MTextEdit* edit = nullptr);
    void focus(MTextEdit* edit);

    MWindow* window = nullptr;
};

void TestMTextEdit::initTestCase()
{
    qRegisterMetaType<Qt::FocusReason>();
}

void TestMTextEdit::init()
{
    window = shownWindow();
    QGuiApplication::clipboard()->clear();
}

void TestMTextEdit::cleanup()
{
    delete window;
}

MTextEdit* TestMTextEdit::addField(MTextEditModel::LineMode mode, qreal y, MTextEdit* edit)
{
    if (!edit)
        edit = new MTextEdit(mode);
    window->scene()->addItem(edit);
    edit->setGeometry(QRectF(0, y, 400, mode == MTextEditModel::SingleLine ? 60 : 160));
    return edit;
}

void TestMTextEdit::focus(MTextEdit* edit)
{
    tap(window, edit);
    QTRY_VERIFY(edit->hasFocus());
}

void TestMTextEdit::tapGivesFocusAndKeysFollowIt()
{
    MTextEdit* first = addField();
    MTextEdit* second = addField(MTextEditModel::SingleLine, 100);
    QSignalSpy gained(first, &MTextEdit::gainedFocus);
    QSignalSpy lost(first, &MTextEdit::lostFocus);
    MInputMethodState::instance()->closeSoftwareInputPanel();

    type(window, QStringLiteral("x"));
    QCOMPARE(first->text(), QString());
    focus(first);
    QCOMPARE(gained.count(), 1);
    QCOMPARE(gained.at(0).at(0).value<Qt::FocusReason>(), Qt::MouseFocusReason);
    QVERIFY(MInputMethodState::instance()->isSoftwareInputPanelVisible());
    type(window, QStringLiteral("one"));

    focus(second);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(lost.at(0).at(0).value<Qt::FocusReason>(), Qt::MouseFocusReason);
    type(window, QStringLiteral("two"));
    QCOMPARE(first->text(), QStringLiteral("one"));
    QCOMPARE(second->text(), QStringLiteral("two"));
}

void TestMTextEdit::editing_data()
{
    QTest::addColumn<bool>("validated");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("cursor");

    const QKeySequence left(Qt::Key_Left), right(Qt::Key_Right), home(Qt::Key_Home), end(Qt::Key_End),
        shiftLeft(Qt::SHIFT | Qt::Key_Left), shiftRight(Qt::SHIFT | Qt::Key_Right), back(Qt::Key_Backspace),
        del(Qt::Key_Delete), all(Qt::CTRL | Qt::Key_A), copy(Qt::CTRL | Qt::Key_C), cut(Qt::CTRL | Qt::Key_X),
        paste(Qt::CTRL | Qt::Key_V);
    const QString none;

    QTest::newRow("typing") << false << none << none << Keys() << "hello" << none << "hello" << 5;
    QTest::newRow("backspace") << false << "abc" << none << Keys{back} << none << none << "ab" << 2;
    QTest::newRow("type after left") << false << "abc" << none << Keys{left} << "X" << none << "abXc" << 3;
    QTest::newRow("typed over selection") << false << "abc" << none << Keys{shiftLeft, shiftLeft} << "Z" << none
                                          << "aZ" << 2;
    QTest::newRow("left leaves selection at its start") << false << "abcd" << none << Keys{shiftLeft, shiftLeft, left}
                                                        << "_" << none << "ab_cd" << 3;
    QTest::newRow("cut, paste") << false << "abc" << none << Keys{home, shiftRight, cut, end, paste} << none << none
                                << "bca" << 3;
    QTest::newRow("copy all, paste") << false << "ab" << none << Keys{all, copy, end, paste} << none << none << "abab"
                                 << 4;
    QTest::newRow("paste over selection") << false << "abc" << "XY" << Keys{shiftLeft, paste} << none << none
                                          << "abXY" << 4;
    QTest::newRow("paste flattens lines") << false << "" << "a\nb" << Keys{paste} << none << none << "a b" << 3;

    // The validator wants an "x" and at most three digits.
    QTest::newRow("invalid letter typed") << true << "x1" << none << Keys() << "a2" << none << "x12" << 3;
    QTest::newRow("invalid paste") << true << "x1" << "ab" << Keys{paste} << none << none << "x1" << 2;
    QTest::newRow("valid paste") << true << "x1" << "23" << Keys{paste} << none << none << "x123" << 4;
    QTest::newRow("invalid backspace") << true << "x1" << none << Keys{left, back} << none << none << "x1" << 1;
    QTest::newRow("valid delete after home") << true << "x12" << none << Keys{home, right, del} << none << none << "x2" << 1;
    QTest::newRow("invalid cut") << true << "x12" << none << Keys{home, shiftRight, cut} << none << none << "x12"
                                 << 1;
    QTest::newRow("invalid commit") << true << "x1" << none << Keys() << none << "q" << "x1" << 2;
    QTest::newRow("valid commit") << true << "x1" << none << Keys() << none << "7" << "x17" << 3;
}

void TestMTextEdit::editing()
{
    QFETCH(bool, validated);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    QFETCH(Keys, keys);
    QFETCH(QString, typed);
    QFETCH(QString, committed);

    QRegularExpressionValidator validator(QRegularExpression(QStringLiteral("x\\d{0,3}")));
    auto* edit = new CountingPasteEdit;
    addField(MTextEditModel::SingleLine, 0, edit);
    if (validated)
        edit->setValidator(&validator);
    QVERIFY(edit->setText(text));
    QGuiApplication::clipboard()->setText(clipboard);
    focus(edit);
    for (const QKeySequence& sequence : qAsConst(keys))
        QTest::keySequence(window->viewport(), sequence);
    type(window, typed);
    if (!committed.isEmpty())
        imCommit(committed);

    QTEST(edit->text(), "expected");
    QTEST(edit->cursorPosition(), "cursor");
    QTEST(edit->textCursor().position(), "cursor");
    // Ctrl+V goes through paste(), which subclasses override.
    QCOMPARE(edit->pastes, int(keys.count(QKeySequence(Qt::CTRL | Qt::Key_V))));
}

void TestMTextEdit::signalsOnlyForRealChanges()
{
    MTextEdit* edit = addField();
    QSignalSpy changed(edit, &MTextEdit::textChanged);
    QSignalSpy moved(edit, &MTextEdit::cursorPositionChanged);

    QVERIFY(edit->setText(QStringLiteral("abc")));
    QVERIFY(edit->setText(QStringLiteral("abc")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(edit->cursorPosition(), 3);

    // A format is not text, and typing keeps the first line's.
    QTextCursor whole(edit->document());
    QTextBlockFormat format;
    format.setTextIndent(30);
    whole.setBlockFormat(format);
    focus(edit);
    key(window, Qt::Key_Right);
    key(window, Qt::Key_Home);
    key(window, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(moved.count(), 2);
    type(window, QStringLiteral("z"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(edit->document()->firstBlock().blockFormat().textIndent(), 30.0);

    edit->clear();
    edit->clear();
    QCOMPARE(changed.count(), 3);
}

void TestMTextEdit::lineModes_data()
{
    QTest::addColumn<MTextEditModel::LineMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("returns");
    QTest::addColumn<QString>("set");
    QTest::newRow("single line") << MTextEditModel::SingleLine << "abc" << 2 << "a b c";
    QTest::newRow("multi-line") << MTextEditModel::MultiLine << "ab\n\nc" << 0 << "a\nb\nc";
}

void TestMTextEdit::lineModes()
{
    QFETCH(MTextEditModel::LineMode, mode);
    MTextEdit* edit = addField(mode);
    QSignalSpy returned(edit, &MTextEdit::returnPressed);
    focus(edit);
    type(window, QStringLiteral("ab"));
    key(window, Qt::Key_Return);
    key(window, Qt::Key_Enter);
    type(window, QStringLiteral("c"));
    QTEST(edit->text(), "typed");
    QTEST(int(returned.count()), "returns");

    edit->setText(QStringLiteral("a\nb\r\n"));
    edit->insert(QStringLiteral("c"));
    QTEST(edit->text(), "set");
}

void TestMTextEdit::maxLengthAndAcceptableInput()
{
    MTextEdit* edit = addField();
    edit->setText(QStringLiteral("abcdef"));
    edit->setMaxLength(4);
    QCOMPARE(edit->text(), QStringLiteral("abcd"));
    edit->setText(QStringLiteral("123456"));
    QCOMPARE(edit->text(), QStringLiteral("1234"));
    focus(edit);
    type(window, QStringLiteral("5"));
    key(window, Qt::Key_Backspace);
    key(window, Qt::Key_Backspace);
    QGuiApplication::clipboard()->setText(QStringLiteral("xyz"));
    key(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("12xy"));
    edit->setMaxLength(0);
    type(window, QStringLiteral("56"));
    QCOMPARE(edit->text(), QStringLiteral("12xy56"));

    QVERIFY(edit->hasAcceptableInput());
    QIntValidator validator(10, 99);
    edit->setValidator(&validator);
    QVERIFY(!edit->hasAcceptableInput());
    // What the program sets is not for the validator to refuse.
    QVERIFY(edit->setText(QStringLiteral("5")));
    QCOMPARE(edit->text(), QStringLiteral("5"));
    QVERIFY(!edit->hasAcceptableInput());
    type(window, QStringLiteral("7"));
    QVERIFY(edit->hasAcceptableInput());
}

void TestMTextEdit::inputMethodQueries()
{
    const int watched = Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase | Qt::ImhHiddenText;
    MTextEdit* plain = addField();
    MTextEdit* secret = addField(MTextEditModel::SingleLine, 100);
    secret->setContentType(M::NumberContentType);
    secret->setInputMethodPredictionEnabled(false);
    secret->setInputMethodAutoCapitalizationEnabled(false);
    secret->setEchoMode(MTextEditModel::Password);
    for (MTextEdit* edit : {plain, secret}) {
        edit->setText(QStringLiteral("hello"));
        focus(edit);
        key(window, Qt::Key_Left);
        QCOMPARE(imQuery(Qt::ImHints).toInt() & watched, edit == plain ? 0 : watched);
        QVERIFY(imQuery(Qt::ImEnabled).toBool());
        QCOMPARE(imQuery(Qt::ImCursorPosition).toInt(), 4);
        // A password stays with the field.
        QCOMPARE(imQuery(Qt::ImSurroundingText).toString() == QLatin1String("hello"), edit == plain);
    }
}

void TestMTextEdit::indentAndPromptArePainted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("text") << "Iiii" << QString();
    QTest::newRow("prompt") << QString() << "Iiii";
}

void TestMTextEdit::indentAndPromptArePainted()
{
    QFETCH(QString, text);
    QFETCH(QString, prompt);

    MTextEdit* edit = addField();
    QVERIFY(box(edit, Ink).isEmpty());
    edit->setText(text);
    edit->setPrompt(prompt);
    const QRect plain = box(edit, Ink);
    QVERIFY(!plain.isEmpty());

    QTextCursor first(edit->document());
    QTextBlockFormat format = first.blockFormat();
    format.setTextIndent(60);
    first.setBlockFormat(format);
    QVERIFY2(qAbs(box(edit, Ink).left() - plain.left() - 60) <= 1, "the first line is not indented");

    // Once there is text, the prompt gives way to it.
    edit->setText(QStringLiteral("W"));
    const QImage withPrompt = render(edit);
    edit->setPrompt(prompt.isEmpty() ? QStringLiteral("Iiii") : QString());
    QCOMPARE(render(edit), withPrompt);
}

void TestMTextEdit::passwordPaintsBullets()
{
    MTextEdit* edit = addField();
    edit->setText(QStringLiteral("abc"));
    const QImage plainAbc = render(edit);
    edit->setText(QStringLiteral("xyz"));
    QVERIFY(render(edit) != plainAbc);

    edit->setEchoMode(MTextEditModel::Password);
    const QImage maskedXyz = render(edit);
    edit->setText(QStringLiteral("abc"));
    QCOMPARE(render(edit), maskedXyz);
    QVERIFY(render(edit) != plainAbc);
    QCOMPARE(edit->text(), QStringLiteral("abc"));
}

void TestMTextEdit::longTextKeepsCursorInView_data()
{
    QTest::addColumn<MTextEditModel::LineMode>("mode");
    QTest::addColumn<QString>("text");
    QTest::newRow("single line") << MTextEditModel::SingleLine << QString(200, QLatin1Char('m'));
    QTest::newRow("multi-line") << MTextEditModel::MultiLine << QStringLiteral("line\n").repeated(20) + "end";
}

void TestMTextEdit::longTextKeepsCursorInView()
{
    QFETCH(MTextEditModel::LineMode, mode);
    QFETCH(QString, text);

    MTextEdit* edit = addField(mode);
    focus(edit);
    edit->setText(text);
    const QRect area = edit->contentsRect().toRect();
    QRect cursor = box(edit, Cursor);
    QVERIFY(!cursor.isEmpty());
    QVERIFY(mode == MTextEditModel::SingleLine ? cursor.left() > area.center().x()
                                               : cursor.top() > area.center().y());
    // The input method is told the same place, in the window.
    const QPointF told = imQuery(Qt::ImCursorRectangle).toRectF().center();
    QVERIFY((told - window->mapFromScene(edit->mapToScene(QRectF(cursor).center()))).manhattanLength() <= 2);

    edit->setCursorPosition(0);
    cursor = box(edit, Cursor);
    QVERIFY(!cursor.isEmpty());
    QVERIFY(cursor.left() < area.left() + 5);
    QVERIFY(cursor.top() < area.center().y());
}

void TestMTextEdit::attributeExtensions()
{
    MInputMethodState* state = MInputMethodState::instance();
    QSignalSpy changed(state, &MInputMethodState::extendedAttributeChanged);
    const int first = state->registerAttributeExtension();
    const int second = state->registerAttributeExtension(QStringLiteral("toolbar.xml"));
    QVERIFY(first >= 0);
    QVERIFY(second > first);

    const QString keys = QStringLiteral("/keys"), action = QStringLiteral("actionKey");
    state->setExtendedAttribute(first, keys, action, "label", QStringLiteral("Go"));
    state->setExtendedAttribute(first, keys, action, "highlighted", true);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0), (QList<QVariant>{first, keys, action, QStringLiteral("label"), QStringLiteral("Go")}));
    QCOMPARE(state->extendedAttribute(first, keys, action, "label"), QVariant(QStringLiteral("Go")));
    QCOMPARE(state->extendedAttribute(first, keys, action, "highlighted"), QVariant(true));
    QVERIFY(!state->extendedAttribute(first, keys, action, "enabled").isValid());
    QVERIFY(!state->extendedAttribute(second, keys, action, "label").isValid());

    state->unregisterAttributeExtension(first);
    QVERIFY(!state->isAttributeExtensionRegistered(first));
    QVERIFY(state->isAttributeExtensionRegistered(second));
    QVERIFY(!state->extendedAttribute(first, keys, action, "label").isValid());
    state->setExtendedAttribute(first, keys, action, "label", QStringLiteral("Late"));
    QCOMPARE(changed.count(), 2);
    QVERIFY(!state->extendedAttribute(first, keys, action, "label").isValid());
    QVERIFY(state->registerAttributeExtension() > second);
}

void TestMTextEdit::softwareInputPanel()
{
    MInputMethodState* state = MInputMethodState::instance();
    state->closeSoftwareInputPanel();
    QSignalSpy visibility(state, &MInputMethodState::softwareInputPanelVisibilityChanged);
    state->requestSoftwareInputPanel();
    state->requestSoftwareInputPanel();
    QVERIFY(state->isSoftwareInputPanelVisible());
    state->closeSoftwareInputPanel();
    state->closeSoftwareInputPanel();
    QVERIFY(!state->isSoftwareInputPanelVisible());
    QCOMPARE(static_cast<const QList<QList<QVariant>>&>(visibility), (QList<QList<QVariant>>{{true}, {false}}));
}

QTEST_MAIN(TestMTextEdit)
#include "tst_mtextedit.moc"

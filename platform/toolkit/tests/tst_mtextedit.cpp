// MTextEdit driven by taps, keys and the input method: focus, editing under
// a validator and a length limit, what the input method is told, and what
// is painted.
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

namespace {

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

private:
    MWindow* window = nullptr;

    MTextEdit* addField(qreal y = 0)
    {
        auto* edit = new MTextEdit;
        window->scene()->addItem(edit);
        edit->setGeometry(QRectF(0, y, 400, 60));
        return edit;
    }

    void focus(MTextEdit* edit)
    {
        tap(window, edit);
        QTRY_VERIFY(edit->hasFocus());
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<Qt::FocusReason>(); }

    void init()
    {
        window = shownWindow();
        QGuiApplication::clipboard()->clear();
    }

    void cleanup() { delete window; }

    void keysGoOnlyToAFieldTapped()
    {
        MTextEdit* edit = addField();
        QSignalSpy gained(edit, &MTextEdit::gainedFocus);
        MInputMethodState::instance()->closeSoftwareInputPanel();
        type(window, QStringLiteral("x"));
        focus(edit);
        QCOMPARE(gained.count(), 1);
        QCOMPARE(gained.at(0).at(0).value<Qt::FocusReason>(), Qt::MouseFocusReason);
        QVERIFY(MInputMethodState::instance()->isSoftwareInputPanelVisible());
        type(window, QStringLiteral("one"));
        QCOMPARE(edit->text(), QStringLiteral("one"));
    }

    void editing_data()
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
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

        row("backspace") << false << "abc" << none << Keys{back} << none << none << "ab" << 2;
        row("type after left") << false << "abc" << none << Keys{left} << "X" << none << "abXc" << 3;
        row("typed over selection") << false << "abc" << none << Keys{shiftLeft, shiftLeft} << "Z" << none << "aZ" << 2;
        row("left leaves selection at its start")
            << false << "abcd" << none << Keys{shiftLeft, shiftLeft, left} << "_" << none << "ab_cd" << 3;
        row("cut, paste") << false << "abc" << none << Keys{home, shiftRight, cut, end, paste} << none << none << "bca" << 3;
        row("copy all, paste") << false << "ab" << none << Keys{all, copy, end, paste} << none << none << "abab" << 4;
        row("paste over selection") << false << "abc" << "XY" << Keys{shiftLeft, paste} << none << none << "abXY" << 4;
        row("paste flattens lines") << false << "" << "a\nb" << Keys{paste} << none << none << "a b" << 3;

        // What the user enters must keep the text valid: the validator wants
        // an "x" and at most three digits.
        row("invalid letter typed") << true << "x1" << none << Keys() << "a2" << none << "x12" << 3;
        row("invalid paste") << true << "x1" << "ab" << Keys{paste} << none << none << "x1" << 2;
        row("valid paste") << true << "x1" << "23" << Keys{paste} << none << none << "x123" << 4;
        row("invalid backspace") << true << "x1" << none << Keys{left, back} << none << none << "x1" << 1;
        row("valid delete after home") << true << "x12" << none << Keys{home, right, del} << none << none << "x2" << 1;
        row("invalid cut") << true << "x12" << none << Keys{home, shiftRight, cut} << none << none << "x12" << 1;
        row("invalid commit") << true << "x1" << none << Keys() << none << "q" << "x1" << 2;
        row("valid commit") << true << "x1" << none << Keys() << none << "7" << "x17" << 3;
    }

    void editing()
    {
        QFETCH(bool, validated);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        QFETCH(Keys, keys);
        QFETCH(QString, typed);
        QFETCH(QString, committed);

        QRegularExpressionValidator validator(QRegularExpression(QStringLiteral("x\\d{0,3}")));
        MTextEdit* edit = addField();
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
    }

    void signalsOnlyForRealChanges()
    {
        MTextEdit* edit = addField();
        QSignalSpy changed(edit, &MTextEdit::textChanged);
        QSignalSpy moved(edit, &MTextEdit::cursorPositionChanged);
        QVERIFY(edit->setText(QStringLiteral("abc")));
        QVERIFY(edit->setText(QStringLiteral("abc")));
        focus(edit);
        key(window, Qt::Key_Home);
        key(window, Qt::Key_Backspace);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(moved.count(), 2);
        edit->clear();
        edit->clear();
        QCOMPARE(changed.count(), 2);
    }

    void aSingleLineHasNoLineBreaks()
    {
        MTextEdit* edit = addField();
        QSignalSpy returned(edit, &MTextEdit::returnPressed);
        focus(edit);
        type(window, QStringLiteral("ab"));
        key(window, Qt::Key_Return);
        key(window, Qt::Key_Enter);
        type(window, QStringLiteral("c"));
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QCOMPARE(returned.count(), 2);
        // Nor does the program put any in.
        edit->setText(QStringLiteral("a\nb\r\n"));
        edit->insert(QStringLiteral("c"));
        QCOMPARE(edit->text(), QStringLiteral("a b c"));
    }

    void maxLengthAndAcceptableInput()
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

        QIntValidator validator(10, 99);
        edit->setValidator(&validator);
        // What the program sets is not for the validator to refuse.
        QVERIFY(edit->setText(QStringLiteral("5")));
        QCOMPARE(edit->text(), QStringLiteral("5"));
        QVERIFY(!edit->hasAcceptableInput());
        type(window, QStringLiteral("7"));
        QVERIFY(edit->hasAcceptableInput());
    }

    void inputMethodQueries()
    {
        const int watched = Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase | Qt::ImhHiddenText;
        MTextEdit* plain = addField();
        MTextEdit* secret = addField(100);
        secret->setContentType(M::NumberContentType);
        secret->setInputMethodPredictionEnabled(false);
        secret->setInputMethodAutoCapitalizationEnabled(false);
        secret->setEchoMode(MTextEditModel::Password);
        for (MTextEdit* edit : {plain, secret}) {
            edit->setText(QStringLiteral("hello"));
            focus(edit);
            key(window, Qt::Key_Left);
            QCOMPARE(imQuery(Qt::ImHints).toInt() & watched, edit == plain ? 0 : watched);
            QCOMPARE(imQuery(Qt::ImCursorPosition).toInt(), 4);
            // A password stays with the field.
            QCOMPARE(imQuery(Qt::ImSurroundingText).toString() == QLatin1String("hello"), edit == plain);
        }
    }

    void indentAndPasswordsArePainted()
    {
        MTextEdit* edit = addField();
        QVERIFY(box(edit, Ink).isEmpty());
        edit->setText(QStringLiteral("Iiii"));
        const QRect plain = box(edit, Ink);
        const QImage plainText = render(edit);
        QTextCursor first(edit->document());
        QTextBlockFormat format = first.blockFormat();
        format.setTextIndent(60);
        first.setBlockFormat(format);
        QVERIFY2(qAbs(box(edit, Ink).left() - plain.left() - 60) <= 1, "the first line is not indented");

        // A password is painted as bullets, alike for any text of its length.
        format.setTextIndent(0);
        first.setBlockFormat(format);
        edit->setEchoMode(MTextEditModel::Password);
        const QImage masked = render(edit);
        QVERIFY(masked != plainText);
        edit->setText(QStringLiteral("WWWW"));
        QCOMPARE(render(edit), masked);
        QCOMPARE(edit->text(), QStringLiteral("WWWW"));
    }

    void longTextKeepsCursorInView()
    {
        MTextEdit* edit = addField();
        focus(edit);
        edit->setText(QString(200, QLatin1Char('m')));
        const QRect area = edit->contentsRect().toRect();
        QRect cursor = box(edit, Cursor);
        QVERIFY(!cursor.isEmpty() && cursor.left() > area.center().x());
        // The input method is told the same place, in the window.
        const QPointF told = imQuery(Qt::ImCursorRectangle).toRectF().center();
        QVERIFY((told - window->mapFromScene(edit->mapToScene(QRectF(cursor).center()))).manhattanLength() <= 2);

        edit->setCursorPosition(0);
        cursor = box(edit, Cursor);
        QVERIFY(!cursor.isEmpty() && cursor.left() < area.left() + 5);
    }
};

QTEST_MAIN(TestMTextEdit)
#include "tst_mtextedit.moc"

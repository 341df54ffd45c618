// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtextedit.h"

#include "accessibletree_p.h"
#include "minputmethodstate.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QValidator>

#include <memory>

namespace {

const QChar passwordBullet(0x25cf);

} // namespace

// What the field shows: its own document, or one standing in for it (the
// prompt, bullets), with the cursor's place in that document and where the
// document's origin lies in the item.
struct MTextEditDisplay
{
    std::unique_ptr<QTextDocument> substitute;
    QTextDocument* document = nullptr;
    int position = 0;
    bool selectable = true;
    bool prompt = false;
    QRectF caret;
    QPointF origin;
};

class MTextEditPrivate
{
public:
    MTextEditPrivate(MTextEdit* q, MTextEditModel::LineMode lineMode);

    QString normalized(QString text) const;
    void insertPlain(QTextCursor& cursor, const QString& text) const;
    bool edit(int start, int end, QString inserted, bool validated);
    void erase(QTextCursor::MoveOperation direction);
    void moveCursor(QTextCursor::MoveOperation operation, QTextCursor::MoveMode mode);
    void documentChanged();
    // Both tell receivers, who may delete the field: false when it is gone.
    bool textChangeDone();
    bool cursorMoved();
    void announceTextChange(const QString& before, const QString& now);
    void updateHints();
    Qt::InputMethodHints hints() const;
    bool isMasked() const;
    QString maskedText() const;
    QString selectedText() const;

    void configure(QTextDocument* doc) const;
    std::unique_ptr<QTextDocument> promptDocument() const;
    std::unique_ptr<QTextDocument> maskedDocument() const;
    QRectF caretRect(QTextDocument* doc, int position) const;
    void scrollTo(const QRectF& caret, const QSizeF& content, const QSizeF& visible);
    MTextEditDisplay display();

    MTextEdit* const q;
    QTextDocument* const document;
    QTextCursor cursor;
    const MTextEditModel::LineMode lineMode;
    MTextEditModel::EchoMode echoMode = MTextEditModel::Normal;
    QString prompt;
    int maxLength = -1;
    M::TextContentType contentType = M::FreeTextContentType;
    bool prediction = true;
    bool correction = true;
    bool autoCapitalization = true;
    QPointer<const QValidator> validator;
    int toolbarId = -1;

    // What the last signals reported, so that only real changes are told.
    QString lastText;
    int lastCursorPosition = 0;
    // Inside edit(): the document's own signals only note the change, told
    // once the edit is complete, never from within the document's work.
    bool editing = false;
    bool changePending = false;
    // How far text larger than the field is scrolled: a single line to the
    // left, several lines up.
    QPointF offset;
};

MTextEditPrivate::MTextEditPrivate(MTextEdit* q, MTextEditModel::LineMode lineMode)
    : q(q)
    , document(new QTextDocument(q))
    , cursor(document)
    , lineMode(lineMode)
{
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(0);
}

QString MTextEditPrivate::normalized(QString text) const
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (lineMode == MTextEditModel::SingleLine)
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void MTextEditPrivate::insertPlain(QTextCursor& at, const QString& text) const
{
    at.removeSelectedText();
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (int i = 0; i < paragraphs.size(); ++i) {
        // New paragraphs start plain: a caller's format on the first one (an
        // indent that makes room for a prefix) belongs to the first line only.
        if (i > 0)
            at.insertBlock(QTextBlockFormat(), at.charFormat());
        if (!paragraphs.at(i).isEmpty())
            at.insertText(paragraphs.at(i));
    }
}

// The one way the text changes: [start, end) becomes @p inserted, and the
// cursor goes after it. Edits made for the user pass the validator first.
bool MTextEditPrivate::edit(int start, int end, QString inserted, bool validated)
{
    const QString current = q->text();
    start = qBound(0, start, current.size());
    end = qBound(start, end, current.size());
    inserted = normalized(inserted);
    if (maxLength > 0) {
        const int room = maxLength - (current.size() - (end - start));
        if (inserted.size() > room)
            inserted.truncate(qMax(0, room));
    }
    if (start == end && inserted.isEmpty())
        return false;

    int position = start + inserted.size();
    if (validated && validator) {
        QString result = current;
        result.replace(start, end - start, inserted);
        QString candidate = result;
        int candidatePosition = position;
        if (validator->validate(candidate, candidatePosition) == QValidator::Invalid)
            return false;
        if (candidate != result) {
            // The validator corrected the text while accepting it.
            start = 0;
            end = current.size();
            inserted = normalized(candidate);
            position = qBound(0, candidatePosition, inserted.size());
        }
    }

    if (current.midRef(start, end - start) == inserted) {
        // Rewriting the same characters would only drop their formats.
        cursor.setPosition(position);
    } else {
        editing = true;
        cursor.beginEditBlock();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        insertPlain(cursor, inserted);
        cursor.setPosition(position);
        cursor.endEditBlock();
        editing = false;
    }
    // A single line's tail may need pulling back into view.
    q->update();
    if (changePending && !textChangeDone())
        return true;
    cursorMoved();
    return true;
}

void MTextEditPrivate::erase(QTextCursor::MoveOperation direction)
{
    QTextCursor range = cursor;
    if (!range.hasSelection())
        range.movePosition(direction, QTextCursor::KeepAnchor);
    if (range.hasSelection())
        edit(range.selectionStart(), range.selectionEnd(), QString(), true);
}

void MTextEditPrivate::moveCursor(QTextCursor::MoveOperation operation, QTextCursor::MoveMode mode)
{
    cursor.movePosition(operation, mode);
    if (cursorMoved())
        q->update();
}

// Every change of the document ends here, ours and those that callers make
// through document(), so textChanged() is told once per real change.
void MTextEditPrivate::documentChanged()
{
    changePending = true;
    if (editing)
        return;
    if (textChangeDone() && cursorMoved())
        q->update();
}

bool MTextEditPrivate::textChangeDone()
{
    changePending = false;
    const QString now = q->text();
    if (now == lastText)
        return true;
    const QString before = lastText;
    lastText = now;
    const QPointer<MTextEdit> alive(q);
    announceTextChange(before, now);
    if (!alive)
        return false;
    Q_EMIT q->textChanged();
    return alive;
}

// Tells a screen reader only what changed, and never the characters of a
// hidden text: the part between what both texts begin and end with.
void MTextEditPrivate::announceTextChange(const QString& before, const QString& now)
{
    if (!AccessibleTree::isListening())
        return;
    int head = 0;
    while (head < before.size() && head < now.size() && before.at(head) == now.at(head))
        ++head;
    int tail = 0;
    while (tail < before.size() - head && tail < now.size() - head
           && before.at(before.size() - 1 - tail) == now.at(now.size() - 1 - tail))
        ++tail;
    QString removed = before.mid(head, before.size() - head - tail);
    QString inserted = now.mid(head, now.size() - head - tail);
    if (echoMode == MTextEditModel::NoEcho)
        return;
    if (echoMode != MTextEditModel::Normal) {
        removed.fill(passwordBullet);
        inserted.fill(passwordBullet);
    }
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(q, head, inserted);
        AccessibleTree::notify(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(q, head, removed);
        AccessibleTree::notify(&event);
    } else {
        QAccessibleTextUpdateEvent event(q, head, removed, inserted);
        AccessibleTree::notify(&event);
    }
}

bool MTextEditPrivate::cursorMoved()
{
    if (cursor.position() != lastCursorPosition) {
        lastCursorPosition = cursor.position();
        const QPointer<MTextEdit> alive(q);
        if (AccessibleTree::isListening()) {
            QAccessibleTextCursorEvent event(q, lastCursorPosition);
            AccessibleTree::notify(&event);
            if (!alive)
                return false;
        }
        Q_EMIT q->cursorPositionChanged();
        if (!alive)
            return false;
    }
    if (q->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
    return true;
}

Qt::InputMethodHints MTextEditPrivate::hints() const
{
    Qt::InputMethodHints result;
    switch (contentType) {
    case M::NumberContentType:
        result |= Qt::ImhDigitsOnly;
        break;
    case M::PhoneNumberContentType:
        result |= Qt::ImhDialableCharactersOnly;
        break;
    case M::EmailContentType:
        result |= Qt::ImhEmailCharactersOnly;
        break;
    case M::UrlContentType:
        result |= Qt::ImhUrlCharactersOnly;
        break;
    default:
        break;
    }
    if (!prediction)
        result |= Qt::ImhNoPredictiveText;
    if (!autoCapitalization)
        result |= Qt::ImhNoAutoUppercase;
    if (echoMode != MTextEditModel::Normal)
        result |= Qt::ImhSensitiveData;
    if (echoMode == MTextEditModel::Password || echoMode == MTextEditModel::NoEcho)
        result |= Qt::ImhHiddenText;
    if (lineMode == MTextEditModel::MultiLine)
        result |= Qt::ImhMultiLine;
    return result;
}

void MTextEditPrivate::updateHints()
{
    // The view hands the item's hints to the input method when focus moves;
    // QGraphicsItem passes later changes on itself.
    q->setInputMethodHints(hints());
}

bool MTextEditPrivate::isMasked() const
{
    switch (echoMode) {
    case MTextEditModel::Password:
    case MTextEditModel::NoEcho:
        return true;
    case MTextEditModel::PasswordEchoOnEdit:
        return !q->hasFocus();
    default:
        return false;
    }
}

QString MTextEditPrivate::maskedText() const
{
    if (echoMode == MTextEditModel::NoEcho)
        return QString();
    return QString(q->text().size(), passwordBullet);
}

QString MTextEditPrivate::selectedText() const
{
    QString selected = cursor.selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return selected;
}

void MTextEditPrivate::configure(QTextDocument* doc) const
{
    // Each of these lays the whole document out again, so only on change.
    const QFont font = q->style()->font();
    if (doc->defaultFont() != font)
        doc->setDefaultFont(font);
    QTextOption option = doc->defaultTextOption();
    const QTextOption::WrapMode wrap = lineMode == MTextEditModel::SingleLine
        ? QTextOption::NoWrap
        : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (option.wrapMode() != wrap) {
        option.setWrapMode(wrap);
        doc->setDefaultTextOption(option);
    }
    const qreal width = lineMode == MTextEditModel::SingleLine ? -1 : q->contentsRect().width();
    if (doc->textWidth() != width)
        doc->setTextWidth(width);
    if (doc->documentMargin() != 0)
        doc->setDocumentMargin(0);
}

// The prompt laid out as the text would be, first-line indent included, so
// that it does not run under whatever the indent makes room for.
std::unique_ptr<QTextDocument> MTextEditPrivate::promptDocument() const
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    configure(doc.get());
    QTextCursor at(doc.get());
    at.setBlockFormat(document->firstBlock().blockFormat());
    insertPlain(at, normalized(prompt));
    return doc;
}

// One bullet for each character, paragraph by paragraph with their formats,
// so that positions in it are positions in the text. Without echo, one empty
// paragraph.
std::unique_ptr<QTextDocument> MTextEditPrivate::maskedDocument() const
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    configure(doc.get());
    QTextCursor at(doc.get());
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (block == document->firstBlock()) {
            at.setBlockFormat(block.blockFormat());
        } else {
            if (echoMode == MTextEditModel::NoEcho)
                break;
            at.insertBlock(block.blockFormat());
        }
        if (echoMode != MTextEditModel::NoEcho && block.length() > 1)
            at.insertText(QString(block.length() - 1, passwordBullet));
    }
    return doc;
}

QRectF MTextEditPrivate::caretRect(QTextDocument* doc, int position) const
{
    const qreal caretWidth = q->style()->number(QStringLiteral("caret-width"));
    QTextBlock block = doc->findBlock(position);
    if (!block.isValid())
        block = doc->lastBlock();
    // Lays the block out if it is not yet.
    const QRectF blockRect = doc->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    const int relative = qBound(0, position - block.position(), block.length() - 1);
    const QTextLine line = layout ? layout->lineForTextPosition(relative) : QTextLine();
    if (!line.isValid()) {
        const QFontMetricsF metrics(doc->defaultFont());
        return QRectF(blockRect.left() + block.blockFormat().textIndent(), blockRect.top(), caretWidth,
                      metrics.height());
    }
    const QPointF origin = layout->position();
    return QRectF(origin.x() + line.cursorToX(relative), origin.y() + line.y(), caretWidth, line.height());
}

void MTextEditPrivate::scrollTo(const QRectF& caret, const QSizeF& content, const QSizeF& visible)
{
    const auto follow = [](qreal offset, qreal low, qreal high, qreal extent, qreal window) {
        if (high - offset > window)
            offset = high - window;
        if (low < offset)
            offset = low;
        // After deletions at the end, the text comes back rather than leaving a gap.
        extent = qMax(extent, high);
        if (extent - offset < window)
            offset = qMax<qreal>(0, extent - window);
        return qreal(qRound(offset));
    };
    if (lineMode == MTextEditModel::SingleLine)
        offset = QPointF(follow(offset.x(), caret.left(), caret.right(), content.width(), visible.width()), 0);
    else
        offset = QPointF(0, follow(offset.y(), caret.top(), caret.bottom(), content.height(), visible.height()));
}

MTextEditDisplay MTextEditPrivate::display()
{
    configure(document);
    MTextEditDisplay shown;
    shown.position = cursor.position();
    if (document->isEmpty()) {
        if (!prompt.isEmpty()) {
            shown.substitute = promptDocument();
            shown.prompt = true;
        }
        shown.position = 0;
        shown.selectable = false;
    } else if (isMasked()) {
        shown.substitute = maskedDocument();
        if (echoMode == MTextEditModel::NoEcho) {
            shown.position = 0;
            shown.selectable = false;
        }
    }
    shown.document = shown.substitute ? shown.substitute.get() : document;

    const QRectF area = q->contentsRect();
    const QSizeF size(shown.document->idealWidth(), shown.document->size().height());
    const QRectF caret = caretRect(shown.document, shown.position);
    scrollTo(caret, size, area.size());
    const qreal top = lineMode == MTextEditModel::SingleLine ? qRound((area.height() - size.height()) / 2) : 0;
    shown.origin = QPointF(qRound(area.left() - offset.x()), qRound(area.top() + top - offset.y()));
    shown.caret = QRectF(qRound(caret.left()), qRound(caret.top()), caret.width(), qRound(caret.height()));
    return shown;
}

MTextEdit::MTextEdit(MTextEditModel::LineMode type, const QString& text, QGraphicsItem* parent)
    : MWidgetController(parent)
    , d(new MTextEditPrivate(this, type))
{
    setFocusPolicy(Qt::StrongFocus);
    setFlag(QGraphicsItem::ItemAcceptsInputMethod);
    setSizePolicy(QSizePolicy::Expanding,
                  type == MTextEditModel::SingleLine ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    connect(d->document, &QTextDocument::contentsChanged, this, [this] { d->documentChanged(); });
    d->updateHints();
    if (!text.isEmpty())
        setText(text);
    applyStyle();
    setTappable(true);
}

MTextEdit::~MTextEdit()
{
    d->document->disconnect(this);
    delete d;
}

const char* MTextEdit::styleClassName() const
{
    return "MTextEditStyle";
}

void MTextEdit::applyStyle()
{
    MWidgetController::applyStyle();
    d->configure(d->document);
}

QString MTextEdit::text() const
{
    QString text = d->document->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

bool MTextEdit::setText(const QString& text)
{
    const QPointer<MTextEdit> alive(this);
    d->edit(0, this->text().size(), text, false);
    if (alive)
        setCursorPosition(this->text().size());
    return true;
}

QString MTextEdit::prompt() const
{
    return d->prompt;
}

void MTextEdit::setPrompt(const QString& prompt)
{
    d->prompt = prompt;
    update();
}

MTextEditModel::LineMode MTextEdit::lineMode() const
{
    return d->lineMode;
}

MTextEditModel::EchoMode MTextEdit::echoMode() const
{
    return d->echoMode;
}

void MTextEdit::setEchoMode(MTextEditModel::EchoMode mode)
{
    d->echoMode = mode;
    d->updateHints();
    update();
}

int MTextEdit::maxLength() const
{
    return d->maxLength;
}

void MTextEdit::setMaxLength(int length)
{
    d->maxLength = length;
    const int size = text().size();
    if (length > 0 && size > length)
        d->edit(length, size, QString(), false);
}

M::TextContentType MTextEdit::contentType() const
{
    return d->contentType;
}

void MTextEdit::setContentType(M::TextContentType type)
{
    d->contentType = type;
    d->updateHints();
}

bool MTextEdit::inputMethodPredictionEnabled() const
{
    return d->prediction;
}

void MTextEdit::setInputMethodPredictionEnabled(bool enabled)
{
    d->prediction = enabled;
    d->updateHints();
}

bool MTextEdit::inputMethodCorrectionEnabled() const
{
    return d->correction;
}

void MTextEdit::setInputMethodCorrectionEnabled(bool enabled)
{
    d->correction = enabled;
    d->updateHints();
}

bool MTextEdit::inputMethodAutoCapitalizationEnabled() const
{
    return d->autoCapitalization;
}

void MTextEdit::setInputMethodAutoCapitalizationEnabled(bool enabled)
{
    d->autoCapitalization = enabled;
    d->updateHints();
}

void MTextEdit::setValidator(const QValidator* validator)
{
    d->validator = validator;
}

const QValidator* MTextEdit::validator() const
{
    return d->validator;
}

bool MTextEdit::hasAcceptableInput() const
{
    if (!d->validator)
        return true;
    QString current = text();
    int position = d->cursor.position();
    return d->validator->validate(current, position) == QValidator::Acceptable;
}

void MTextEdit::attachToolbar(int id)
{
    d->toolbarId = id;
}

int MTextEdit::attachedToolbarId() const
{
    return d->toolbarId;
}

QTextDocument* MTextEdit::document() const
{
    return d->document;
}

QTextCursor MTextEdit::textCursor() const
{
    return d->cursor;
}

int MTextEdit::cursorPosition() const
{
    return d->cursor.position();
}

void MTextEdit::setCursorPosition(int position)
{
    d->cursor.setPosition(qBound(0, position, text().size()));
    if (d->cursorMoved())
        update();
}

void MTextEdit::setSelection(int start, int length)
{
    const int size = text().size();
    d->cursor.setPosition(qBound(0, start, size));
    d->cursor.setPosition(qBound(0, start + length, size), QTextCursor::KeepAnchor);
    if (d->cursorMoved())
        update();
}

void MTextEdit::insert(const QString& text)
{
    d->edit(d->cursor.selectionStart(), d->cursor.selectionEnd(), text, true);
}

void MTextEdit::clear()
{
    d->edit(0, text().size(), QString(), false);
}

void MTextEdit::selectAll()
{
    d->cursor.select(QTextCursor::Document);
    if (d->cursorMoved())
        update();
}

void MTextEdit::copy()
{
    // What is typed unseen stays out of the clipboard.
    if (!d->cursor.hasSelection() || d->echoMode != MTextEditModel::Normal)
        return;
    QGuiApplication::clipboard()->setText(d->selectedText());
}

void MTextEdit::cut()
{
    if (!d->cursor.hasSelection() || d->echoMode != MTextEditModel::Normal)
        return;
    const QString before = text();
    const int start = d->cursor.selectionStart();
    const int end = d->cursor.selectionEnd();
    if (d->edit(start, end, QString(), true)) {
        // Only what actually left the field goes to the clipboard.
        QGuiApplication::clipboard()->setText(before.mid(start, end - start));
    }
}

void MTextEdit::paste()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty())
        return;
    d->edit(d->cursor.selectionStart(), d->cursor.selectionEnd(), pasted, true);
}

QSizeF MTextEdit::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    const MWidgetStyle* s = style();
    const QFontMetricsF metrics(s->font());
    const int lines = d->lineMode == MTextEditModel::SingleLine
        ? 1
        : qBound(1, int(s->number(QStringLiteral("multi-line-rows"), 1)), 1000);
    const qreal height = metrics.height() + (lines - 1) * metrics.lineSpacing();
    switch (which) {
    case Qt::MinimumSize:
        return QSizeF(metrics.averageCharWidth() * 4, height);
    case Qt::MaximumSize:
        return QSizeF(-1, -1);
    default:
        return QSizeF(s->number(QStringLiteral("content-width")), height);
    }
}

void MTextEdit::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    const QRectF area = contentsRect();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const MWidgetStyle* s = style();
    const MTextEditDisplay shown = d->display();

    QColor ink = s->color();
    const QColor accent = s->accentColor().isValid() ? s->accentColor() : ink;
    if (shown.prompt)
        ink = s->faded(ink, QStringLiteral("prompt-opacity"));
    if (!isEnabled())
        ink = s->faded(ink, QStringLiteral("disabled-opacity"));

    painter->save();
    painter->setClipRect(area, Qt::IntersectClip);
    painter->translate(shown.origin);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, ink);
    context.clip = area.translated(-shown.origin);
    if (hasFocus() && shown.selectable && d->cursor.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = QTextCursor(shown.document);
        selection.cursor.setPosition(d->cursor.anchor());
        selection.cursor.setPosition(d->cursor.position(), QTextCursor::KeepAnchor);
        selection.format.setBackground(accent);
        selection.format.setForeground(s->backgroundColor());
        context.selections.append(selection);
    }
    shown.document->documentLayout()->draw(painter, context);
    if (hasFocus())
        painter->fillRect(shown.caret, accent);
    painter->restore();
}

void MTextEdit::tapEvent()
{
    setFocus(Qt::MouseFocusReason);
    // A tap on a field that has the focus brings a closed panel back.
    MInputMethodState::instance()->requestSoftwareInputPanel();
}

void MTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QTextCursor::MoveMode mode =
        event->modifiers() & Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    const bool singleLine = d->lineMode == MTextEditModel::SingleLine;

    if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        paste();
    } else {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (singleLine)
                Q_EMIT returnPressed();
            else
                insert(QStringLiteral("\n"));
            break;
        case Qt::Key_Backspace:
            d->erase(QTextCursor::PreviousCharacter);
            break;
        case Qt::Key_Delete:
            d->erase(QTextCursor::NextCharacter);
            break;
        case Qt::Key_Left:
            d->moveCursor(QTextCursor::Left, mode);
            break;
        case Qt::Key_Right:
            d->moveCursor(QTextCursor::Right, mode);
            break;
        case Qt::Key_Home:
            d->moveCursor(singleLine ? QTextCursor::Start : QTextCursor::StartOfLine, mode);
            break;
        case Qt::Key_End:
            d->moveCursor(singleLine ? QTextCursor::End : QTextCursor::EndOfLine, mode);
            break;
        default: {
            const QString typed = event->text();
            if (typed.isEmpty() || !typed.at(0).isPrint()) {
                MWidgetController::keyPressEvent(event);
                return;
            }
            insert(typed);
            break;
        }
        }
    }
    event->accept();
}

void MTextEdit::focusInEvent(QFocusEvent* event)
{
    MWidgetController::focusInEvent(event);
    update();
    Q_EMIT gainedFocus(event->reason());
    MInputMethodState::instance()->requestSoftwareInputPanel();
}

void MTextEdit::focusOutEvent(QFocusEvent* event)
{
    MWidgetController::focusOutEvent(event);
    update();
    Q_EMIT lostFocus(event->reason());
}

void MTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    int start = d->cursor.selectionStart();
    int end = d->cursor.selectionEnd();
    if (event->replacementStart() != 0 || event->replacementLength() > 0) {
        start = d->cursor.position() + event->replacementStart();
        end = start + event->replacementLength();
    }
    // Events that only update the preedit leave the text, and any selection, alone.
    if (!event->commitString().isEmpty() || event->replacementLength() > 0)
        d->edit(start, end, event->commitString(), true);
    event->accept();
}

QVariant MTextEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const bool masked = d->echoMode != MTextEditModel::Normal;
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImHints:
        return int(d->hints());
    case Qt::ImCursorPosition:
        return d->cursor.position();
    case Qt::ImAnchorPosition:
        return d->cursor.anchor();
    case Qt::ImSurroundingText:
        return masked ? d->maskedText() : text();
    case Qt::ImCurrentSelection:
        return masked ? QString() : d->selectedText();
    case Qt::ImMaximumTextLength:
        return d->maxLength > 0 ? QVariant(d->maxLength) : QVariant();
    case Qt::ImFont:
        return style()->font();
    case Qt::ImCursorRectangle: {
        const MTextEditDisplay shown = d->display();
        return shown.caret.translated(shown.origin);
    }
    default:
        return MWidgetController::inputMethodQuery(query);
    }
}

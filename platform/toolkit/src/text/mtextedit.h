// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MTEXTEDIT_H
#define MTEXTEDIT_H

#include "tesseltouchcore_export.h"
#include "mnamespace.h"
#include "mtexteditmodel.h"
#include "mwidgetcontroller.h"

#include <QTextCursor>

class QTextDocument;
class QValidator;
class MTextEditPrivate;

// An editable text field, single-line or multi-line, kept in a
// QTextDocument. A tap gives it the focus; keys reach it while it has the
// focus. With a validator, a change that the validator finds Invalid is
// refused, and hasAcceptableInput() tells whether the text is Acceptable.
// Return in single-line mode emits returnPressed() and inserts nothing.
class TT_EXPORT MTextEdit : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString prompt READ prompt WRITE setPrompt)

public:
    explicit MTextEdit(MTextEditModel::LineMode type = MTextEditModel::SingleLine,
                       const QString& text = QString(), QGraphicsItem* parent = nullptr);
    ~MTextEdit() override;

    QString text() const;
    bool setText(const QString& text);
    QString prompt() const;
    void setPrompt(const QString& prompt);
    MTextEditModel::LineMode lineMode() const;
    MTextEditModel::EchoMode echoMode() const;
    void setEchoMode(MTextEditModel::EchoMode mode);
    int maxLength() const;
    void setMaxLength(int length);

    M::TextContentType contentType() const;
    void setContentType(M::TextContentType type);
    bool inputMethodPredictionEnabled() const;
    void setInputMethodPredictionEnabled(bool enabled);
    bool inputMethodCorrectionEnabled() const;
    void setInputMethodCorrectionEnabled(bool enabled);
    bool inputMethodAutoCapitalizationEnabled() const;
    void setInputMethodAutoCapitalizationEnabled(bool enabled);

    // The validator is not owned.
    void setValidator(const QValidator* validator);
    const QValidator* validator() const;
    bool hasAcceptableInput() const;

    // The input-method toolbar (attribute extension) shown with this field.
    void attachToolbar(int id);
    int attachedToolbarId() const;

    QTextDocument* document() const;
    QTextCursor textCursor() const;
    int cursorPosition() const;
    void setCursorPosition(int position);
    // Selects @p length characters from @p start (a negative length selects
    // backwards), leaving the cursor at the selection's moving end.
    void setSelection(int start, int length);
    void insert(const QString& text);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void clear();
    void selectAll();
    void copy();
    void cut();
    // Inserts the clipboard's text at the cursor, replacing the selection.
    virtual void paste();

Q_SIGNALS:
    void textChanged();
    void returnPressed();
    void gainedFocus(Qt::FocusReason reason);
    void lostFocus(Qt::FocusReason reason);
    void cursorPositionChanged();

protected:
    void applyStyle() override;
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;
    void tapEvent() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    MTextEditPrivate* const d;
};

#endif

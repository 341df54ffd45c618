// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/keytextedit.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QValidator>

namespace Pavane {

KeyTextEdit::KeyTextEdit(MWidget* parent)
    : MTextEdit(MTextEditModel::SingleLine, QString(), parent)
{
}

KeyTextEdit::~KeyTextEdit() = default;

void KeyTextEdit::paste()
{
    const QValidator* keyValidator = validator();
    if (!keyValidator) {
        MTextEdit::paste();
        return;
    }
    // The clipboard's text alone must be a whole key, whatever the field holds.
    QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    int position = text.length();
    if (keyValidator->validate(text, position) == QValidator::Acceptable)
        MTextEdit::paste();
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mmessagebox.h"

#include "mlabel.h"

MMessageBox::MMessageBox(const QString& text, M::StandardButtons buttons)
    : MMessageBox(QString(), text, buttons)
{
}

MMessageBox::MMessageBox(const QString& title, const QString& text, M::StandardButtons buttons)
    : MDialog(title, buttons)
    , m_textLabel(new MLabel(text))
{
    m_textLabel->setStyleName(QStringLiteral("CommonBodyText"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setAlignment(Qt::AlignCenter);
    // Its height follows from the width the dialog has (see MDialog's title).
    m_textLabel->setMinimumHeight(0);
    setCentralWidget(m_textLabel);
    applyStyle();
}

MMessageBox::~MMessageBox() = default;

const char* MMessageBox::styleClassName() const
{
    return "MMessageBoxStyle";
}

QString MMessageBox::text() const
{
    return m_textLabel ? m_textLabel->text() : QString();
}

void MMessageBox::setText(const QString& text)
{
    if (m_textLabel)
        m_textLabel->setText(text);
}

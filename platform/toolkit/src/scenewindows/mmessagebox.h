// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MMESSAGEBOX_H
#define MMESSAGEBOX_H

#include "tesseltouchcore_export.h"
#include "mdialog.h"

// A dialog that asks a question: a text and standard buttons.
class TT_EXPORT MMessageBox : public MDialog
{
    Q_OBJECT

public:
    explicit MMessageBox(const QString& text, M::StandardButtons buttons = M::OkButton);
    MMessageBox(const QString& title, const QString& text, M::StandardButtons buttons);
    ~MMessageBox() override;

    QString text() const;
    void setText(const QString& text);

    const char* styleClassName() const override;

private:
    // Gone once another central widget replaces it.
    QPointer<MLabel> m_textLabel;
};

#endif

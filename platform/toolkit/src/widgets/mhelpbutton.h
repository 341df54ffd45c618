// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MHELPBUTTON_H
#define MHELPBUTTON_H

#include "tesseltouchcore_export.h"
#include "mbutton.h"

#include <functional>

// A button that opens the help page of its page id: a tap calls the
// process's help handler (setHelpHandler) with the id, or, without one,
// shows the id in a message box.
class TT_EXPORT MHelpButton : public MButton
{
    Q_OBJECT

public:
    explicit MHelpButton(const QString& pageId, QGraphicsItem* parent = nullptr);
    ~MHelpButton() override;

    QString pageID() const;
    void setPageID(const QString& pageId);

    static void setHelpHandler(std::function<void(const QString& pageId)> handler);

Q_SIGNALS:
    void helpPageOpened(const QString& pageId);

private:
    void openHelpPage();
    QString m_pageId;
};

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mhelpbutton.h"

#include "mmessagebox.h"

namespace {

std::function<void(const QString&)>& helpHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

MHelpButton::MHelpButton(const QString& pageId, QGraphicsItem* parent)
    : MButton(parent)
    , m_pageId(pageId)
{
    connect(this, &MButton::clicked, this, &MHelpButton::openHelpPage);
}

MHelpButton::~MHelpButton() = default;

QString MHelpButton::pageID() const
{
    return m_pageId;
}

void MHelpButton::setPageID(const QString& pageId)
{
    m_pageId = pageId;
}

void MHelpButton::setHelpHandler(std::function<void(const QString&)> handler)
{
    helpHandler() = std::move(handler);
}

void MHelpButton::openHelpPage()
{
    // A receiver may delete the button: the page is read before.
    const QString pageId = m_pageId;
    Q_EMIT helpPageOpened(pageId);
    if (helpHandler()) {
        const auto handler = helpHandler();
        handler(pageId);
        return;
    }
    auto* box = new MMessageBox(QStringLiteral("Help"), pageId, M::OkButton);
    box->appear(MSceneWindow::DestroyWhenDone);
}

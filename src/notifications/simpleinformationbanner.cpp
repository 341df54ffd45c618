// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simpleinformationbanner.h>

namespace Pavane {

const QString FullEventBanner = QStringLiteral("FullEventBanner");
const QString ShortEventBanner = QStringLiteral("ShortEventBanner");
const QString PrivateEventBanner = QStringLiteral("PrivateEventBanner");
const QString InformationBanner = QStringLiteral("InformationBanner");
const QString LockScreenEventBanner = QStringLiteral("LockScreenEventBanner");
const QString SystemBanner = QStringLiteral("SystemBanner");
const QString GenericBanner = QStringLiteral("GenericBanner");

SimpleInformationBanner::SimpleInformationBanner(const QString& text)
{
    setTitle(text);
}

SimpleInformationBanner::~SimpleInformationBanner() = default;

SimpleInformationBanner* SimpleInformationBanner::show(const QString& text, int)
{
    auto* banner = new SimpleInformationBanner(text);
    banner->setStyleName(InformationBanner);
    banner->appear(MSceneWindow::DestroyWhenDone);
    return banner;
}

void SimpleInformationBanner::show(const QString& text, const QString& iconId)
{
    auto* banner = new SimpleInformationBanner(text);
    banner->setIconID(iconId);
    banner->setStyleName(SystemBanner);
    banner->appear(MSceneWindow::DestroyWhenDone);
}

void SimpleInformationBanner::notificationTimeout()
{
}

} // namespace Pavane

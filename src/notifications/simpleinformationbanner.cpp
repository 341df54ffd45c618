// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simpleinformationbanner.h>

#include "logging/pavanelogging_p.h"

#include <QApplication>

namespace Pavane {

namespace {

// A banner made without a QApplication would never appear, so the toolkit
// would never delete it either.
bool canShow()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    qCWarning(lcNotification, "SimpleInformationBanner: cannot show a banner without a QApplication");
    return false;
}

} // namespace

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
    if (!canShow())
        return nullptr;
    auto* banner = new SimpleInformationBanner(text);
    banner->setStyleName(InformationBanner);
    banner->appear(MSceneWindow::DestroyWhenDone);
    return banner;
}

void SimpleInformationBanner::show(const QString& text, const QString& iconId)
{
    if (!canShow())
        return;
    auto* banner = new SimpleInformationBanner(text);
    banner->setIconID(iconId);
    banner->setStyleName(SystemBanner);
    banner->appear(MSceneWindow::DestroyWhenDone);
}

void SimpleInformationBanner::notificationTimeout()
{
}

} // namespace Pavane

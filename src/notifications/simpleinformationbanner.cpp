// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simpleinformationbanner.h>

#include "logging/pavanelogging_p.h"

#include <QApplication>

namespace Pavane {

namespace {

// Null without a QApplication: such a banner would never appear, and so the
// toolkit would never delete it either.
SimpleInformationBanner* newBanner(const QString& text, const QString& styleName)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qCWarning(lcNotification, "SimpleInformationBanner: cannot show a banner without a QApplication");
        return nullptr;
    }
    auto* banner = new SimpleInformationBanner(text);
    banner->setStyleName(styleName);
    return banner;
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
    SimpleInformationBanner* banner = newBanner(text, InformationBanner);
    if (banner)
        banner->appear(MSceneWindow::DestroyWhenDone);
    return banner;
}

void SimpleInformationBanner::show(const QString& text, const QString& iconId)
{
    if (SimpleInformationBanner* banner = newBanner(text, SystemBanner)) {
        banner->setIconID(iconId);
        banner->appear(MSceneWindow::DestroyWhenDone);
    }
}

void SimpleInformationBanner::notificationTimeout()
{
}

} // namespace Pavane

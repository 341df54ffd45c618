// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_SIMPLEINFORMATIONBANNER_H
#define PAVANE_SIMPLEINFORMATIONBANNER_H

#include <Pavane/pavanedlg_export.h>

#include <MBanner>

#include <QString>

namespace Pavane {

/** The style name "FullEventBanner", of the theme's full event banners. */
PAVANEDLG_EXPORT extern const QString FullEventBanner;
/** The style name "ShortEventBanner", of the theme's short event banners. */
PAVANEDLG_EXPORT extern const QString ShortEventBanner;
/** The style name "PrivateEventBanner", of the theme's private event banners. */
PAVANEDLG_EXPORT extern const QString PrivateEventBanner;
/**
 * The style name "InformationBanner", of plain information banners, as
 * SimpleInformationBanner::show(const QString&, int) shows them.
 */
PAVANEDLG_EXPORT extern const QString InformationBanner;
/** The style name "LockScreenEventBanner", of the theme's lock-screen event banners. */
PAVANEDLG_EXPORT extern const QString LockScreenEventBanner;
/**
 * The style name "SystemBanner", of system banners with an icon, as
 * SimpleInformationBanner::show(const QString&, const QString&) shows them.
 */
PAVANEDLG_EXPORT extern const QString SystemBanner;
/** The style name "GenericBanner", of the theme's generic banners. */
PAVANEDLG_EXPORT extern const QString GenericBanner;

/**
 * A short text shown as a transient banner at the top of the window, plain
 * or with an icon.
 *
 * The two show() functions create a banner, style it ("InformationBanner"
 * for the plain one, "SystemBanner" for the one with an icon) and make it
 * appear in the active window, or in the system-wide one when the host
 * shows none. From then on it belongs to the toolkit, which hides it after
 * its display time and then deletes it: callers never delete it. Without a
 * @c QApplication there is nowhere to show it: show() only warns (category
 * @c pavane.notification) and makes no banner. Screen readers read it as an
 * alert named by its text. GUI thread only.
 *
 * @code
 * Pavane::SimpleInformationBanner::show(tr("Connected to %1").arg(networkName), 0);
 * @endcode
 */
class PAVANEDLG_EXPORT SimpleInformationBanner : public MBanner
{
    Q_OBJECT

public:
    /**
     * Creates a banner showing @p text, without parent or style name and not
     * shown yet: the caller owns it until it makes it appear with the
     * destroy-when-done policy.
     */
    explicit SimpleInformationBanner(const QString& text);
    /** Destroys the banner. */
    ~SimpleInformationBanner() override;

    /**
     * Shows @p text in an information banner. The number has no effect: the
     * toolkit decides how long the banner stays.
     *
     * @return the banner, valid until the toolkit deletes it once it has
     * disappeared; not the caller's to delete. Null without a
     * @c QApplication.
     */
    static SimpleInformationBanner* show(const QString& text, int);
    /** Shows @p text in a system banner with the theme icon @p iconId (none when empty). */
    static void show(const QString& text, const QString& iconId);

private Q_SLOTS:
    void notificationTimeout();
};

} // namespace Pavane

#endif

#ifndef PAVANE_SIMPLEINFORMATIONBANNER_H
#define PAVANE_SIMPLEINFORMATIONBANNER_H

#include <Pavane/pavanedlg_export.h>

#include <MBanner>

#include <QString>

namespace Pavane {

// The banner style names of the platform's theme.
PAVANEDLG_EXPORT extern const QString FullEventBanner;
PAVANEDLG_EXPORT extern const QString ShortEventBanner;
PAVANEDLG_EXPORT extern const QString PrivateEventBanner;
PAVANEDLG_EXPORT extern const QString InformationBanner;
PAVANEDLG_EXPORT extern const QString LockScreenEventBanner;
PAVANEDLG_EXPORT extern const QString SystemBanner;
PAVANEDLG_EXPORT extern const QString GenericBanner;

/**
 * A short text shown as a transient banner, plain or with an icon. The two
 * show() functions create, style and show one; from then on it belongs to
 * the toolkit, which hides it after a while and then destroys it.
 * GUI thread only.
 */
class PAVANEDLG_EXPORT SimpleInformationBanner : public MBanner
{
    Q_OBJECT

public:
    /** A banner with @p text that is not shown yet and has no style name. */
    explicit SimpleInformationBanner(const QString& text);
    ~SimpleInformationBanner() override;

    /** An information banner. The pointer is valid until the banner is gone;
        the number has no effect (the toolkit decides how long it stays). */
    static SimpleInformationBanner* show(const QString& text, int);
    /** A system banner with an icon. */
    static void show(const QString& text, const QString& iconId);

private Q_SLOTS:
    void notificationTimeout();
};

} // namespace Pavane

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MLOCALE_H
#define MLOCALE_H

#include "tesseltouchcore_export.h"

#include <QString>
#include <QStringList>
#include <Qt>

// A language setting with its translation catalogues. Catalogues are Qt
// translation files "<name>_<language>.qm" (id-based, for qtTrId), looked up
// in $TESSELTOUCH_TRANSLATIONS_DIR, the installed translations and the
// copies built into the library; the catalogue "common" is always there.
// setDefault() makes a locale the application's: its catalogues are then
// what qtTrId uses.
class TT_EXPORT MLocale
{
public:
    // The system's language ($LANG and friends, through QLocale).
    MLocale();
    explicit MLocale(const QString& localeName);
    MLocale(const MLocale& other);
    MLocale& operator=(const MLocale& other);
    ~MLocale();

    QString name() const;
    QString language() const;
    QStringList catalogues() const;

    void installTrCatalog(const QString& name);
    void removeTrCatalog(const QString& name);

    static void setDefault(const MLocale& locale);
    static MLocale defaultLocale();
    // Right-to-left when the text's first strong character is right-to-left.
    static Qt::LayoutDirection directionForText(const QString& text);

private:
    QString m_name;
    QStringList m_catalogues;
};

#endif

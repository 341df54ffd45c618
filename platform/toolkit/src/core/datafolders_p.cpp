// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "datafolders_p.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

#ifndef TESSELTOUCH_INSTALLED_DATA_DIR
#define TESSELTOUCH_INSTALLED_DATA_DIR ""
#endif
#ifndef TESSELTOUCH_LIBRARY_TO_DATA_DIR
#define TESSELTOUCH_LIBRARY_TO_DATA_DIR ""
#endif

namespace {

// The toolkit's share folder as seen from the folder this library was loaded
// from; empty when the loader cannot say. In a build tree the folder does not
// exist and the lookup goes on.
QString findDataDirBesideLibrary()
{
    if (!*TESSELTOUCH_LIBRARY_TO_DATA_DIR)
        return QString();
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&findDataDirBesideLibrary), &info) || !info.dli_fname || !*info.dli_fname)
        return QString();
    const QString libraryDir = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir::cleanPath(libraryDir + QLatin1Char('/') + QLatin1String(TESSELTOUCH_LIBRARY_TO_DATA_DIR));
}

// The library stays where it was loaded from: asked once.
QString dataDirBesideLibrary()
{
    static const QString dir = findDataDirBesideLibrary();
    return dir;
}

} // namespace

QStringList dataFolders(const char* environmentVariable, const QString& subfolder, const QString& builtIn)
{
    QStringList folders;
    const QString fromEnvironment = QString::fromLocal8Bit(qgetenv(environmentVariable));
    if (!fromEnvironment.isEmpty())
        folders << fromEnvironment;
    for (const QString& dataDir : {dataDirBesideLibrary(), QString::fromLocal8Bit(TESSELTOUCH_INSTALLED_DATA_DIR)}) {
        if (!dataDir.isEmpty())
            folders << QDir::cleanPath(dataDir + QLatin1Char('/') + subfolder);
    }
    folders << builtIn;
    folders.removeDuplicates();
    return folders;
}

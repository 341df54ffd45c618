#ifndef DATAFOLDERS_P_H
#define DATAFOLDERS_P_H

#include <QStringList>

// Where the toolkit looks for its data (theme files, catalogues), first
// found first: the folder an environment variable names, the installed one
// (empty when unknown), the copy built into the library.
inline QStringList dataFolders(const char* environmentVariable, const char* installed, const QString& builtIn)
{
    QStringList folders;
    const QString fromEnvironment = QString::fromLocal8Bit(qgetenv(environmentVariable));
    if (!fromEnvironment.isEmpty())
        folders << fromEnvironment;
    if (*installed)
        folders << QString::fromLocal8Bit(installed);
    folders << builtIn;
    return folders;
}

#endif

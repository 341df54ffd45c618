#ifndef PAVANE_MIMETYPERESOLVER_H
#define PAVANE_MIMETYPERESOLVER_H

#include <Pavane/pavanedlg_export.h>

#include <QString>

namespace Pavane {

/**
 * The MIME type that a file's name gives, from the shared-mime-info glob
 * list "/usr/share/mime/globs2", and the theme icon that shows a file.
 * Neither looks at the file's contents or needs the file to exist.
 *
 * Types found are remembered for the rest of the process, so that later
 * questions about files of a known kind read no file. GUI thread only: the
 * memory is not locked.
 */
class PAVANEDLG_EXPORT MimeTypeResolver
{
public:
    /**
     * The MIME type for the file's name (directories play no part);
     * "application/octet-stream" when no rule matches; a null string when
     * the glob file is missing or cannot be read. Unless a rule says "cs",
     * ASCII letters match in either case; every other character matches
     * only itself.
     */
    static QString mimeTypeForFilePath(const QString& filePath);
    /** A theme icon identifier for the file and its type; never empty. */
    static QString iconForFileAndMimeType(const QString& filePath, const QString& mimeType);
};

} // namespace Pavane

#endif

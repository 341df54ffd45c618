// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_MIMETYPERESOLVER_H
#define PAVANE_MIMETYPERESOLVER_H

#include <Pavane/pavanedlg_export.h>

#include <QString>

namespace Pavane {

/**
 * The MIME type that a file's name gives, from the shared-mime-info glob
 * list "/usr/share/mime/globs2", and the theme icon that shows a file.
 *
 * Neither function looks at the file's contents or needs the file to exist;
 * there are no instances. The rules that matched are remembered for the
 * rest of the process, so that later questions about files of a known kind
 * read no file. The remembered rules are tried before the file: once
 * "*.gz" has matched, "x.tar.gz" gets its type too, even where the file
 * has a rule for "*.tar.gz" that comes first. GUI thread only: the memory
 * is not locked.
 *
 * @code
 * const QString type = Pavane::MimeTypeResolver::mimeTypeForFilePath(path);
 * icon->setImage(Pavane::MimeTypeResolver::iconForFileAndMimeType(path, type));
 * @endcode
 */
class PAVANEDLG_EXPORT MimeTypeResolver
{
public:
    /**
     * The MIME type that the name of the file @p filePath gives; the
     * directories of the path play no part.
     *
     * The first rule of the glob file that matches wins; weights are not
     * read. Unless a rule carries the flag "cs", ASCII letters match in
     * either case; every other character matches only itself. Only the first
     * 16 MiB of the glob file are read, and rules that cannot match are
     * skipped.
     *
     * @return the type; "application/octet-stream" when no rule matches (not
     * remembered: the next such question looks at the glob file again, and
     * reads it again if it changed since); a null string when the glob file
     * is missing or cannot be read.
     */
    static QString mimeTypeForFilePath(const QString& filePath);
    /**
     * A theme icon identifier for the file @p filePath of the MIME type
     * @p mimeType; never empty.
     *
     * The type decides first, in either case: PDF, Word, Excel, PowerPoint
     * and vCard types, and all image, video and audio types, have icons of
     * their own ("icon-m-content-pdf-inverse" and so on). For any other type
     * the extension after the last "." of the whole path decides, in either
     * case: "vcf" and "vcard" give the contact icon, "png", "jpg", "jpeg"
     * and "gif" the image icon, and everything else, a path without "."
     * included, "icon-m-content-file-unknown-inverse".
     */
    static QString iconForFileAndMimeType(const QString& filePath, const QString& mimeType);
};

} // namespace Pavane

#endif

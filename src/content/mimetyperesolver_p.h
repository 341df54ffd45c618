#ifndef PAVANE_MIMETYPERESOLVER_P_H
#define PAVANE_MIMETYPERESOLVER_P_H

#include <Pavane/pavanedlg_export.h>

#include <QString>

namespace Pavane {
namespace MimeTypeResolverInternal {

// For tests: reads another glob file from now on, and forgets every type
// found so far. Hosts always get "/usr/share/mime/globs2".
PAVANEDLG_EXPORT void setGlobFilePath(const QString& path);

} // namespace MimeTypeResolverInternal
} // namespace Pavane

#endif

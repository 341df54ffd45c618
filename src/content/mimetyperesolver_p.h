// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_MIMETYPERESOLVER_P_H
#define PAVANE_MIMETYPERESOLVER_P_H

#include <QByteArray>
#include <QString>

namespace Pavane {
namespace MimeTypeResolverInternal {

// Hooks for the tests, fuzzers and benchmarks that compile the resolver's
// source themselves. They are not exported: hosts always get
// "/usr/share/mime/globs2".

// Reads another glob file from now on, and forgets every type found so far.
void setGlobFilePath(const QString& path);
// Takes @p content as the glob file from now on, and forgets every type
// found so far.
void setGlobFileContent(const QByteArray& content);

} // namespace MimeTypeResolverInternal
} // namespace Pavane

#endif

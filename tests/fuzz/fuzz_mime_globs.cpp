// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary bytes as a glob file and a few file names: up to the first 0x1e
// the glob file, then names separated by 0x1f, each looked up as UTF-8 and as
// UTF-16. Nothing may crash, hang or read out of bounds, and a name looked up
// again from a fresh start must get from the cache what the file gave it.
#include "content/mimetyperesolver_p.h"

#include <Pavane/mimetyperesolver.h>

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void lookUp(const QByteArray& globs, const QString& name)
{
    Pavane::MimeTypeResolverInternal::setGlobFileContent(globs);
    const QString fromFile = Pavane::MimeTypeResolver::mimeTypeForFilePath(name);
    const QString fromCache = Pavane::MimeTypeResolver::mimeTypeForFilePath(name);
    if (fromFile != fromCache)
        std::abort();
    Pavane::MimeTypeResolver::iconForFileAndMimeType(name, fromFile);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const int split = input.indexOf('\x1e');
    const QByteArray globs = split < 0 ? input : input.left(split);
    const QList<QByteArray> names = split < 0 ? QList<QByteArray>() : input.mid(split + 1).split('\x1f');
    for (const QByteArray& name : names.mid(0, 4)) {
        lookUp(globs, QString::fromUtf8(name));
        lookUp(globs, QString(reinterpret_cast<const QChar*>(name.constData()), name.size() / 2));
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary bytes as a file without suffix: isContactType must read it
// without a crash or a sanitizer report, and say yes only for a file that
// holds "BEGIN:VCARD".
#include <Pavane/contactexporter.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("card"));

    const QByteArray content(reinterpret_cast<const char*>(data), int(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
    file.close();
    // UTF-16 and UTF-32 read as text put NULs between the letters.
    if (Pavane::ContactExporter::isContactType(QFileInfo(path)) && !QByteArray(content).replace('\0', "").contains("BEGIN:VCARD"))
        std::abort();
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/contactexporter.h>

#include "content/vcardmodule_p.h"
#include "logging/pavanelogging_p.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace Pavane {

namespace {

// A vCard says so on its first line, right at the start; a line that goes
// on (a file without newline, a pipe that never ends) is not read further.
const int MaxFirstLine = 4096;

// Beside the library, in the build tree as installed (src/CMakeLists.txt).
const char VCardModuleFile[] = "pavanedlg/pavanedlg-vcard.so";

// The module lies where the library itself was found, not where the host or
// its environment says: what is loaded into a host must not be chosen from
// outside.
const VCardModule* loadVCardModule()
{
    Dl_info self{};
    if (!dladdr(reinterpret_cast<void*>(&loadVCardModule), &self) || !self.dli_fname) {
        qCWarning(lcContent, "Cannot find the library's own file: no vCard module");
        return nullptr;
    }
    const QString path = QFileInfo(QFile::decodeName(self.dli_fname)).absolutePath() + QLatin1Char('/')
        + QLatin1String(VCardModuleFile);
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = handle ? reinterpret_cast<VCardModuleEntry>(dlsym(handle, PAVANE_VCARD_MODULE_ENTRY)) : nullptr;
    if (!entry) {
        qCWarning(lcContent, "Cannot load the vCard module: %s", dlerror());
        return nullptr;
    }
    // A module of another build is left loaded but unused: unloading code
    // that has run is no safer than keeping it.
    const VCardModule* module = entry();
    if (!module || module->version != VCardModuleVersion || module->size < sizeof(VCardModule)) {
        qCWarning(lcContent, "The vCard module %s is of another version than the library",
                  qPrintable(path));
        return nullptr;
    }
    return module;
}

// Loaded once, on the first call that needs it; a failure is remembered too,
// and every such call then fails as without a contact store.
const VCardModule* vcardModule()
{
    static const VCardModule* const module = loadVCardModule();
    return module;
}

} // namespace

const QString ContactExporter::ContactIriPrefix = QStringLiteral("contact:");

bool ContactExporter::contactFromIri(const QString& iri, QtContacts::QContact& contact)
{
    const VCardModule* module = vcardModule();
    return module && module->contactFromIri(lcContent, iri, contact);
}

QTemporaryFile* ContactExporter::createContactCardFile(const QString& iri)
{
    const VCardModule* module = vcardModule();
    return module ? module->createContactCardFile(lcContent, iri) : nullptr;
}

bool ContactExporter::resolveContactAvatar(const QString& iri, QImage& image)
{
    const VCardModule* module = vcardModule();
    return module && module->resolveContactAvatar(lcContent, iri, image);
}

bool ContactExporter::isContactType(const QFileInfo& file)
{
    const QString suffix = file.completeSuffix();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard"))
        return true;
    if (!suffix.isEmpty())
        return false;

    // Straight from a descriptor that never blocks: QFile would wait for the
    // whole amount asked for, where a pipe gives what it has, and opening a
    // pipe without writer (or a device) would wait for good. What is not
    // there at once is not read.
    const int fd = ::open(QFile::encodeName(file.absoluteFilePath()).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcContent, "NfcFileSendDialog: Unable to open file for reading");
        return false;
    }
    char head[MaxFirstLine];
    int size = 0;
    while (size < MaxFirstLine && !std::memchr(head, '\n', size_t(size))) {
        const ssize_t got = ::read(fd, head + size, size_t(MaxFirstLine - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += int(got);
    }
    ::close(fd);
    QTextStream stream(QByteArray::fromRawData(head, size));
    return stream.readLine().contains(QLatin1String("BEGIN:VCARD"));
}

bool ContactExporter::resolveContactInfo(const QFileInfo& file, QString& firstName, QString& lastName)
{
    const VCardModule* module = vcardModule();
    return module && module->resolveContactInfo(lcContent, file, firstName, lastName);
}

} // namespace Pavane

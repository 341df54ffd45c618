// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary bytes as devmoded's state file: the parser either finds a word
// within the five radios or calls the file damaged, and never reads beyond
// what it was given.
#include "devmode/statefile.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Damage is reported with a warning, which would flood the output.
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    Q_UNUSED(previous);

    // A copy of exactly the input's bytes, so that a read past them is seen.
    const QByteArray content(reinterpret_cast<const char*>(data), int(size));
    unsigned radioStates = 0xdead;
    if (StateFile::parse(content, &radioStates) && radioStates > 0x1f)
        std::abort();
    return 0;
}

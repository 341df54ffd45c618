// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Arbitrary bytes as a card of the contact store: whatever reads into a
// contact must write back into a card and read again, without a crash or a
// sanitizer report.
#include "contacts/contactcard.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_contact_card";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = (qInstallMessageHandler(silence), new QCoreApplication(argc, argv));
    Q_UNUSED(app);

    QtContacts::QContact contact;
    if (!ContactCard::decode(QByteArray(reinterpret_cast<const char*>(data), int(size)), &contact))
        return 0;
    const QByteArray card = ContactCard::encode(contact);
    if (!card.isEmpty())
        ContactCard::decode(card, &contact);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A D-Bus message body of any signature, as the bus would hand it over: the
// input gives the signature and the body, and a valid header is built around
// them, so that libdbus's validation passes often and the reader meets deep
// and exotic types. Whatever libdbus accepts must read into one variant per
// argument without a crash or a sanitizer report.
//
// Input: one byte of flags (bit 0: big-endian, bit 1: a signal rather than a
// method call), one byte of signature length, the signature, the body.
#include "dbus/dbusmarshalling_p.h"

#include <QByteArray>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

class Header
{
public:
    explicit Header(bool bigEndian)
        : bigEndian(bigEndian)
    {
    }

    void pad(int alignment)
    {
        while (bytes.size() % alignment)
            bytes.append('\0');
    }

    void uint32(quint32 value)
    {
        pad(4);
        char data[4];
        if (bigEndian)
            qToBigEndian(value, data);
        else
            qToLittleEndian(value, data);
        bytes.append(data, 4);
    }

    // A header field: (code, variant of type @p type holding @p value).
    void field(char code, char type, const QByteArray& value)
    {
        pad(8);
        bytes.append(code).append('\1').append(type).append('\0');
        if (type == 'g')
            bytes.append(char(value.size()));
        else
            uint32(quint32(value.size()));
        bytes.append(value).append('\0');
    }

    QByteArray bytes;

private:
    bool bigEndian;
};

QByteArray message(bool bigEndian, bool signal, const QByteArray& signature, const QByteArray& body)
{
    Header header(bigEndian);
    header.bytes.append(bigEndian ? 'B' : 'l').append(signal ? '\4' : '\1').append('\0').append('\1');
    header.uint32(quint32(body.size()));
    header.uint32(1); // serial
    header.uint32(0); // length of the fields, set below
    const int fieldsStart = header.bytes.size();
    header.field(DBUS_HEADER_FIELD_PATH, 'o', "/fuzz");
    if (signal)
        header.field(DBUS_HEADER_FIELD_INTERFACE, 's', "com.zelkor.Fuzz");
    header.field(DBUS_HEADER_FIELD_MEMBER, 's', "Read");
    if (!signature.isEmpty())
        header.field(DBUS_HEADER_FIELD_SIGNATURE, 'g', signature);
    Header length(bigEndian);
    length.uint32(quint32(header.bytes.size() - fieldsStart));
    header.bytes.replace(fieldsStart - 4, 4, length.bytes);
    header.pad(8);
    return header.bytes + body;
}

// The number of complete types in a valid signature.
int countArguments(const char* signature)
{
    int count = 0;
    DBusSignatureIter iter;
    dbus_signature_iter_init(&iter, signature);
    if (dbus_signature_iter_get_current_type(&iter) == DBUS_TYPE_INVALID)
        return 0;
    do
        ++count;
    while (dbus_signature_iter_next(&iter));
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(silence), true);
    Q_UNUSED(quiet);
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const size_t signatureLength = data[1];
    if (size < 2 + signatureLength)
        return 0;
    const QByteArray signature(reinterpret_cast<const char*>(data + 2), int(signatureLength));
    const QByteArray body(reinterpret_cast<const char*>(data + 2 + signatureLength),
                          int(size - 2 - signatureLength));
    const QByteArray bytes = message(flags & 1, flags & 2, signature, body);

    DBusError error;
    dbus_error_init(&error);
    DBusMessage* parsed = dbus_message_demarshal(bytes.constData(), bytes.size(), &error);
    if (!parsed) {
        dbus_error_free(&error);
        return 0;
    }
    const QList<QVariant> args = Pavane::readArguments(parsed);
    if (args.size() != countArguments(dbus_message_get_signature(parsed)))
        std::abort();
    dbus_message_unref(parsed);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Variant trees built from the input, written as the arguments of a method
// call: every type the writer knows and several it does not, empty and
// non-uniform lists, nesting around the protocol's limits. Nothing may make
// libdbus abort (its misuse checks abort too); the message must marshal and
// parse again, its body must be as long as the writer measured it, and each
// argument must read back as the documented conversion says.
#include "dbus/dbusmarshalling_p.h"

#include <QByteArray>
#include <QPoint>
#include <QStringList>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

#define check(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "failed: %s\n", #condition), std::abort()))

class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : data(data)
        , size(size)
    {
    }

    bool atEnd() const { return position >= size; }
    uint8_t byte() { return position < size ? data[position++] : 0; }
    quint64 bytes(int count)
    {
        quint64 value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | byte();
        return value;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

// Keeps every input small, so that the protocol's length limits stay out of
// reach and the model below can leave them out.
constexpr int Budget = 1 << 14;

QString text(Input& input, int length)
{
    QString string;
    // Any UTF-16 code unit: NUL, lone surrogates, pairs.
    for (int i = 0; i < length; ++i)
        string.append(QChar(ushort(input.bytes(2))));
    return string;
}

QVariant tree(Input& input, int& budget, int level);

QList<QVariant> children(Input& input, int& budget, int level)
{
    QList<QVariant> list;
    const int count = input.byte() % 6;
    for (int i = 0; i < count && budget > 0; ++i)
        list.append(tree(input, budget, level + 1));
    return list;
}

QVariant tree(Input& input, int& budget, int level)
{
    --budget;
    if (input.atEnd() || level > 80)
        return 1;
    switch (input.byte() % 19) {
    case 0: return bool(input.byte() & 1);
    case 1: return int(input.bytes(4));
    case 2: return uint(input.bytes(4));
    case 3: return qlonglong(input.bytes(8));
    case 4: return qulonglong(input.bytes(8));
    case 5: return QChar(input.byte());
    case 6: return text(input, input.byte() % 8);
    case 7: {
        QStringList strings;
        for (int i = input.byte() % 4; i > 0; --i)
            strings.append(text(input, input.byte() % 4));
        return strings;
    }
    case 8: return QByteArray(input.byte() % 16, char(input.byte()));
    case 9: return children(input, budget, level);
    case 10: return 2.5;
    case 11: return QVariantMap{{QStringLiteral("k"), 1}};
    case 12: return QVariant();
    case 13: return QPoint(1, 2);
    case 14: { // one chain of lists around the protocol's depth limits
        const int depth = 28 + input.byte() % 8;
        const bool structs = input.byte() & 1;
        budget -= depth;
        QVariant value = tree(input, budget, level + depth);
        for (int i = 0; i < depth; ++i)
            value = structs ? QVariant(QList<QVariant>{1, value}) : QVariant(QList<QVariant>{value});
        return value;
    }
    case 15: { // an element repeated: a uniform list, as long as the budget allows
        const int before = budget;
        const QVariant element = tree(input, budget, level + 1);
        const int weight = qMax(1, before - budget);
        const int count = qMin(1 + input.byte() % 40, 1 + qMax(0, budget) / weight);
        budget -= weight * (count - 1);
        QList<QVariant> list;
        for (int i = 0; i < count; ++i)
            list.append(element);
        return list;
    }
    case 16: { // a long string, not too long
        const int length = qMin(int(input.bytes(2)) % 4096, qMax(0, budget));
        budget -= length;
        return QString(length, QChar(0x20ac));
    }
    case 17: return QList<QVariant>();
    default: return QVariant::fromValue(short(3));
    }
}

// The documented conversion, written out apart from the library: what a
// value is sent as (its signature, empty when it is not sent) and what
// reading it back gives. Lists that are uniform go as arrays, others as
// structures without their unsendable fields; 32 arrays and 32 structures
// at most.
struct Sent
{
    QByteArray signature;
    QVariant readBack;
};

QString throughUtf8(const QString& string)
{
    // What survives as a C string.
    return QString::fromUtf8(string.toUtf8().constData());
}

Sent model(const QVariant& value, int arrays, int structs)
{
    const bool mayArray = arrays < 32;
    switch (value.type()) {
    case QVariant::Bool: return {"b", value};
    case QVariant::Int: return {"i", value};
    case QVariant::UInt: return {"u", value};
    case QVariant::LongLong: return {"x", value};
    case QVariant::ULongLong: return {"t", value};
    case QVariant::Char: return {"y", QChar(uchar(value.toChar().toLatin1()))};
    case QVariant::String: return {"s", throughUtf8(value.toString())};
    case QVariant::ByteArray: return mayArray ? Sent{"ay", value} : Sent{};
    case QVariant::StringList: {
        QStringList strings;
        for (const QString& string : value.toStringList())
            strings.append(throughUtf8(string));
        return mayArray ? Sent{"as", strings} : Sent{};
    }
    case QVariant::List: break;
    default: return {};
    }
    const QList<QVariant> list = value.toList();
    bool uniform = !list.isEmpty();
    for (const QVariant& element : list)
        uniform = uniform && element.type() == list.first().type();
    if (uniform) {
        if (!mayArray)
            return {};
        QByteArray element;
        QList<QVariant> read;
        for (const QVariant& v : list) {
            const Sent sent = model(v, arrays + 1, structs);
            if (sent.signature.isEmpty() || (!element.isEmpty() && sent.signature != element))
                return {};
            element = sent.signature;
            read.append(sent.readBack);
        }
        if (element == "y") {
            QByteArray bytes;
            for (const QVariant& v : read)
                bytes.append(char(v.toChar().unicode()));
            return {"ay", bytes};
        }
        if (element == "s") {
            QStringList strings;
            for (const QVariant& v : read)
                strings.append(v.toString());
            return {"as", strings};
        }
        return {'a' + element, read};
    }
    if (structs >= 32)
        return {};
    QByteArray fields;
    QList<QVariant> read;
    for (const QVariant& v : list) {
        const Sent sent = model(v, arrays, structs + 1);
        fields += sent.signature;
        if (!sent.signature.isEmpty())
            read.append(sent.readBack);
    }
    if (fields.isEmpty())
        return {};
    return {'(' + fields + ')', read};
}

// Equal in type and value, nested values included.
bool same(const QVariant& a, const QVariant& b)
{
    if (a.type() != b.type())
        return false;
    if (a.type() != QVariant::List)
        return a == b;
    const QList<QVariant> x = a.toList(), y = b.toList();
    if (x.size() != y.size())
        return false;
    for (int i = 0; i < x.size(); ++i) {
        if (!same(x.at(i), y.at(i)))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(silence), true);
    Q_UNUSED(quiet);

    Input input(data, size);
    int budget = Budget;
    QVariant values[8];
    const QVariant* args[8];
    const int count = input.byte() % 9;
    for (int i = 0; i < count; ++i)
        values[i] = tree(input, budget, 0);
    for (int i = 0; i < 8; ++i)
        args[i] = &values[i];

    QList<QVariant> expected;
    QByteArray expectedSignature;
    for (int i = 0; i < count; ++i) {
        const Sent sent = model(values[i], 0, 0);
        if (sent.signature.isEmpty() || sent.signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
            || expectedSignature.size() + sent.signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH)
            continue;
        expectedSignature += sent.signature;
        expected.append(sent.readBack);
    }

    DBusMessage* message = dbus_message_new_method_call("com.zelkor.Fuzz", "/fuzz", "com.zelkor.Fuzz", "Write");
    const qint64 bodyLength = Pavane::appendArguments(message, args, count);
    dbus_message_set_serial(message, 1);
    char* bytes = nullptr;
    int length = 0;
    check(dbus_message_marshal(message, &bytes, &length));
    dbus_message_unref(message);
    // The dispatcher's own writer must produce the very same message.
    const QByteArray direct = Pavane::encodeMethodCall("com.zelkor.Fuzz", "/fuzz", "com.zelkor.Fuzz", "Write", args, count);
    check(direct == QByteArray(bytes, length) || (direct.isEmpty() && bodyLength > (1 << 16)));
    // The length of the body stands in the fixed part of the header.
    check(length >= 16 && qFromLittleEndian<quint32>(bytes + 4) == quint64(bodyLength));

    DBusError error;
    dbus_error_init(&error);
    DBusMessage* parsed = dbus_message_demarshal(bytes, length, &error);
    dbus_free(bytes);
    check(parsed != nullptr);
    check(dbus_message_get_signature(parsed) == expectedSignature);
    const QList<QVariant> read = Pavane::readArguments(parsed);
    dbus_message_unref(parsed);
    check(same(QVariant(read), QVariant(expected)));
    return 0;
}

#include "dbus/dbusmarshalling_p.h"

#include <QByteArray>
#include <QDebug>
#include <QStringList>

namespace Pavane {

namespace {

// How deep a value sits: the protocol allows 32 nested arrays and, apart
// from them, 32 nested structures.
struct Depth
{
    int arrays = 0;
    int structs = 0;

    bool mayOpenArray() const { return arrays < DBUS_MAXIMUM_TYPE_RECURSION_DEPTH; }
    bool mayOpenStruct() const { return structs < DBUS_MAXIMUM_TYPE_RECURSION_DEPTH; }
    Depth inArray() const { return {arrays + 1, structs}; }
    Depth inStruct() const { return {arrays, structs + 1}; }
};

// The body starts 8-aligned in the message, so offsets from its start give
// every value's padding.
constexpr int MessageHeaderAllowance = 1024 + DBUS_MAXIMUM_SIGNATURE_LENGTH + DBUS_MAXIMUM_NAME_LENGTH;

void reportUnsupported(const QVariant& value)
{
    qDebug().nospace() << "Unsupported variant type: " << value.type();
}

QByteArray signatureOf(const QVariant& value, bool listAsArray, Depth depth);

// A nested list is written as an array or a structure by its own uniformity.
QByteArray elementSignature(const QVariant& element, Depth depth)
{
    const bool asArray = element.type() == QVariant::List && isUniformList(element.toList());
    return signatureOf(element, asArray, depth);
}

// Every element of an ARRAY must have the same signature. Elements of the same
// scalar type always do; lists and byte arrays are compared one by one.
QByteArray arraySignature(const QList<QVariant>& list, Depth depth)
{
    if (list.isEmpty())
        return {};
    const QByteArray element = elementSignature(list.first(), depth.inArray());
    if (element.isEmpty())
        return {};
    const QVariant::Type type = list.first().type();
    const bool mayDiffer = type == QVariant::List || type == QVariant::ByteArray;
    for (int i = 1; i < list.size(); ++i) {
        if (list.at(i).type() != type)
            return {};
        if (mayDiffer && elementSignature(list.at(i), depth.inArray()) != element)
            return {};
    }
    return 'a' + element;
}

// Fields that cannot be sent are left out; a structure without fields cannot
// be sent at all.
QByteArray structSignature(const QList<QVariant>& list, Depth depth)
{
    QByteArray fields;
    for (const QVariant& element : list)
        fields += elementSignature(element, depth.inStruct());
    if (fields.isEmpty())
        return {};
    return '(' + fields + ')';
}

QByteArray signatureOf(const QVariant& value, bool listAsArray, Depth depth)
{
    switch (value.type()) {
    case QVariant::Bool: return QByteArrayLiteral("b");
    case QVariant::Int: return QByteArrayLiteral("i");
    case QVariant::UInt: return QByteArrayLiteral("u");
    case QVariant::LongLong: return QByteArrayLiteral("x");
    case QVariant::ULongLong: return QByteArrayLiteral("t");
    case QVariant::Char: return QByteArrayLiteral("y");
    case QVariant::String: return QByteArrayLiteral("s");
    case QVariant::StringList:
        return depth.mayOpenArray() ? QByteArrayLiteral("as") : QByteArray();
    case QVariant::ByteArray:
        return depth.mayOpenArray() ? QByteArrayLiteral("ay") : QByteArray();
    case QVariant::List:
        if (listAsArray)
            return depth.mayOpenArray() ? arraySignature(value.toList(), depth) : QByteArray();
        return depth.mayOpenStruct() ? structSignature(value.toList(), depth) : QByteArray();
    default:
        return {};
    }
}

// The signature of a whole argument, or empty when it cannot be sent: the
// protocol limits the nesting and the length of a signature.
QByteArray argumentSignature(const QVariant& value)
{
    const QByteArray signature = elementSignature(value, Depth());
    if (signature.isEmpty() || signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
        || !dbus_signature_validate_single(signature.constData(), nullptr))
        return {};
    return signature;
}

// The length of the single complete type at @p position of @p signature.
int completeTypeLength(const QByteArray& signature, int position)
{
    int end = position;
    while (signature.at(end) == 'a')
        ++end;
    if (signature.at(end) == '(') {
        for (int open = 0;; ++end) {
            if (signature.at(end) == '(')
                ++open;
            else if (signature.at(end) == ')' && --open == 0)
                break;
        }
    }
    return end + 1 - position;
}

// Calls @p write for each field of the structure @p list whose signature is
// @p signature, with the field's signature taken from it. The fields left out
// of the signature are those whose own signature is empty at this depth, as
// structSignature found them; @p skipped is called for each of them.
template <typename Write, typename Skip>
void forEachField(const QList<QVariant>& list, const QByteArray& signature, Depth depth,
                  Write write, Skip skipped)
{
    int position = 1;
    for (const QVariant& field : list) {
        if (elementSignature(field, depth.inStruct()).isEmpty()) {
            skipped(field);
            continue;
        }
        const int length = completeTypeLength(signature, position);
        write(field, signature.mid(position, length));
        position += length;
    }
}

int alignmentOf(char type)
{
    switch (type) {
    case 'y': return 1;
    case 'x': case 't': case '(': return 8;
    default: return 4;
    }
}

qint64 aligned(qint64 offset, int alignment)
{
    return (offset + alignment - 1) & ~qint64(alignment - 1);
}

// What QString::toUtf8 makes of @p string, without making it: a lone
// surrogate becomes '?'.
qint64 utf8Length(const QString& string)
{
    qint64 length = 0;
    const QChar* c = string.constData();
    const QChar* const end = c + string.size();
    for (; c != end; ++c) {
        const ushort u = c->unicode();
        if (u < 0x80)
            length += 1;
        else if (u < 0x800)
            length += 2;
        else if (QChar::isHighSurrogate(u) && c + 1 != end && (c + 1)->isLowSurrogate()) {
            length += 4;
            ++c;
        } else if (QChar::isSurrogate(u))
            length += 1;
        else
            length += 3;
    }
    return length;
}

qint64 stringEnd(const QString& string, qint64 offset)
{
    return aligned(offset, 4) + 4 + utf8Length(string) + 1;
}

bool measureValue(const QVariant& value, const QByteArray& signature, Depth depth, qint64& offset);

// Measures an array's elements from @p offset, past the length and padding;
// false once they exceed the protocol's array limit.
template <typename Elements, typename Measure>
bool measureElements(const Elements& elements, qint64& offset, Measure measure)
{
    const qint64 start = offset;
    for (const auto& element : elements) {
        if (!measure(element) || offset - start > DBUS_MAXIMUM_ARRAY_LENGTH)
            return false;
    }
    return true;
}

// Advances @p offset past @p value as written with @p signature; false when
// an array in it is longer than the protocol allows.
bool measureValue(const QVariant& value, const QByteArray& signature, Depth depth, qint64& offset)
{
    const char type = signature.at(0);
    switch (type) {
    case 's':
        offset = stringEnd(value.toString(), offset);
        return true;
    case 'a': {
        const QByteArray element = signature.mid(1);
        offset = aligned(aligned(offset, 4) + 4, alignmentOf(element.at(0)));
        if (value.type() == QVariant::ByteArray) {
            offset += value.toByteArray().size();
            return value.toByteArray().size() <= DBUS_MAXIMUM_ARRAY_LENGTH;
        }
        if (value.type() == QVariant::StringList) {
            return measureElements(value.toStringList(), offset, [&](const QString& string) {
                offset = stringEnd(string, offset);
                return true;
            });
        }
        return measureElements(value.toList(), offset, [&](const QVariant& v) {
            return measureValue(v, element, depth.inArray(), offset);
        });
    }
    case '(': {
        offset = aligned(offset, 8);
        bool fits = true;
        forEachField(
            value.toList(), signature, depth,
            [&](const QVariant& field, const QByteArray& fieldSignature) {
                fits = fits && measureValue(field, fieldSignature, depth.inStruct(), offset);
            },
            [](const QVariant&) {});
        return fits;
    }
    default: {
        const int size = alignmentOf(type);
        offset = aligned(offset, size) + size;
        return true;
    }
    }
}

void appendString(const QString& string, DBusMessageIter* iter)
{
    // QString::toUtf8 always gives valid UTF-8 (lone surrogates become '?'),
    // which libdbus insists on.
    const QByteArray utf8 = string.toUtf8();
    const char* data = utf8.constData();
    dbus_message_iter_append_basic(iter, DBUS_TYPE_STRING, &data);
}

// Writes @p value with @p signature, which argumentSignature has checked and
// which was found at @p depth: every container takes the signatures of its
// contents from it.
void writeValue(const QVariant& value, const QByteArray& signature, Depth depth, DBusMessageIter* iter)
{
    switch (value.type()) {
    case QVariant::Bool: {
        const dbus_bool_t v = value.toBool() ? 1 : 0;
        dbus_message_iter_append_basic(iter, DBUS_TYPE_BOOLEAN, &v);
        break;
    }
    case QVariant::Int: {
        const dbus_int32_t v = value.toInt();
        dbus_message_iter_append_basic(iter, DBUS_TYPE_INT32, &v);
        break;
    }
    case QVariant::UInt: {
        const dbus_uint32_t v = value.toUInt();
        dbus_message_iter_append_basic(iter, DBUS_TYPE_UINT32, &v);
        break;
    }
    case QVariant::LongLong: {
        const dbus_int64_t v = value.toLongLong();
        dbus_message_iter_append_basic(iter, DBUS_TYPE_INT64, &v);
        break;
    }
    case QVariant::ULongLong: {
        const dbus_uint64_t v = value.toULongLong();
        dbus_message_iter_append_basic(iter, DBUS_TYPE_UINT64, &v);
        break;
    }
    case QVariant::Char: {
        const unsigned char v = static_cast<unsigned char>(value.toChar().toLatin1());
        dbus_message_iter_append_basic(iter, DBUS_TYPE_BYTE, &v);
        break;
    }
    case QVariant::String:
        appendString(value.toString(), iter);
        break;
    case QVariant::StringList: {
        DBusMessageIter sub;
        dbus_message_iter_open_container(iter, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING_AS_STRING, &sub);
        const QStringList strings = value.toStringList();
        for (const QString& string : strings)
            appendString(string, &sub);
        dbus_message_iter_close_container(iter, &sub);
        break;
    }
    case QVariant::ByteArray: {
        DBusMessageIter sub;
        dbus_message_iter_open_container(iter, DBUS_TYPE_ARRAY, DBUS_TYPE_BYTE_AS_STRING, &sub);
        const QByteArray bytes = value.toByteArray();
        const char* data = bytes.constData();
        dbus_message_iter_append_fixed_array(&sub, DBUS_TYPE_BYTE, &data, bytes.size());
        dbus_message_iter_close_container(iter, &sub);
        break;
    }
    case QVariant::List: {
        const QList<QVariant> list = value.toList();
        DBusMessageIter sub;
        if (signature.startsWith('a')) {
            const QByteArray element = signature.mid(1);
            dbus_message_iter_open_container(iter, DBUS_TYPE_ARRAY, element.constData(), &sub);
            for (const QVariant& v : list)
                writeValue(v, element, depth.inArray(), &sub);
        } else {
            dbus_message_iter_open_container(iter, DBUS_TYPE_STRUCT, nullptr, &sub);
            forEachField(
                list, signature, depth,
                [&](const QVariant& field, const QByteArray& fieldSignature) {
                    writeValue(field, fieldSignature, depth.inStruct(), &sub);
                },
                &reportUnsupported);
        }
        dbus_message_iter_close_container(iter, &sub);
        break;
    }
    default:
        break; // not reached: the signature was checked
    }
}

QString readString(DBusMessageIter* iter)
{
    const char* data = nullptr;
    dbus_message_iter_get_basic(iter, &data);
    return QString::fromUtf8(data);
}

} // namespace

bool isUniformList(const QList<QVariant>& list)
{
    if (list.isEmpty())
        return false;
    const QVariant::Type type = list.first().type();
    for (const QVariant& element : list) {
        if (element.type() != type)
            return false;
    }
    return true;
}

QString variantSignature(const QVariant& value, bool listAsArray)
{
    const QByteArray signature = signatureOf(value, listAsArray, Depth());
    if (signature.isEmpty())
        reportUnsupported(value);
    return QString::fromLatin1(signature);
}

qint64 appendArguments(DBusMessage* message, const QVariant* const* args, int count)
{
    // The bus adds the sender to the header; the rest of it is known.
    qint64 headerLength = MessageHeaderAllowance;
    for (const char* field : {dbus_message_get_path(message), dbus_message_get_interface(message),
                              dbus_message_get_member(message), dbus_message_get_destination(message)}) {
        if (field)
            headerLength += qstrlen(field);
    }

    DBusMessageIter iter;
    dbus_message_iter_init_append(message, &iter);
    int signatureLength = 0;
    qint64 bodyLength = 0;
    for (int i = 0; i < count; ++i) {
        const QVariant& value = *args[i];
        if (!value.isValid())
            continue;
        const QByteArray signature = argumentSignature(value);
        // A message signature is limited too, over all its arguments, and so
        // are the lengths of arrays and of the whole message: beyond them the
        // bus would drop the connection.
        qint64 end = bodyLength;
        if (signature.isEmpty() || signatureLength + signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
            || !measureValue(value, signature, Depth(), end)
            || headerLength + end > DBUS_MAXIMUM_MESSAGE_LENGTH) {
            reportUnsupported(value);
            continue;
        }
        signatureLength += signature.size();
        bodyLength = end;
        writeValue(value, signature, Depth(), &iter);
    }
    return bodyLength;
}

QVariant readVariant(DBusMessageIter* iter)
{
    const int type = dbus_message_iter_get_arg_type(iter);
    switch (type) {
    case DBUS_TYPE_BOOLEAN: {
        dbus_bool_t v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(v != 0);
    }
    case DBUS_TYPE_INT32: {
        dbus_int32_t v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(int(v));
    }
    case DBUS_TYPE_UINT32: {
        dbus_uint32_t v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(uint(v));
    }
    case DBUS_TYPE_INT64: {
        dbus_int64_t v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(qlonglong(v));
    }
    case DBUS_TYPE_UINT64: {
        dbus_uint64_t v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(qulonglong(v));
    }
    case DBUS_TYPE_BYTE: {
        unsigned char v = 0;
        dbus_message_iter_get_basic(iter, &v);
        return QVariant(QChar(ushort(v)));
    }
    case DBUS_TYPE_STRING:
        return QVariant(readString(iter));
    case DBUS_TYPE_STRUCT: {
        DBusMessageIter sub;
        dbus_message_iter_recurse(iter, &sub);
        QList<QVariant> fields;
        while (dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID) {
            fields.append(readVariant(&sub));
            dbus_message_iter_next(&sub);
        }
        return QVariant(fields);
    }
    case DBUS_TYPE_ARRAY: {
        const int elementType = dbus_message_iter_get_element_type(iter);
        DBusMessageIter sub;
        dbus_message_iter_recurse(iter, &sub);
        if (elementType == DBUS_TYPE_BYTE) {
            const char* data = nullptr;
            int size = 0;
            if (dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID)
                dbus_message_iter_get_fixed_array(&sub, &data, &size);
            return QVariant(QByteArray(data, size));
        }
        if (elementType == DBUS_TYPE_STRING) {
            QStringList strings;
            while (dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID) {
                strings.append(readString(&sub));
                dbus_message_iter_next(&sub);
            }
            return QVariant(strings);
        }
        QList<QVariant> elements;
        while (dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID) {
            elements.append(readVariant(&sub));
            dbus_message_iter_next(&sub);
        }
        return QVariant(elements);
    }
    default:
        qDebug().nospace() << "Unsupported DBUS type: " << type;
        return QVariant();
    }
}

QList<QVariant> readArguments(DBusMessage* message)
{
    QList<QVariant> args;
    DBusMessageIter iter;
    if (!dbus_message_iter_init(message, &iter))
        return args;
    while (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_INVALID) {
        args.append(readVariant(&iter));
        dbus_message_iter_next(&iter);
    }
    return args;
}

} // namespace Pavane

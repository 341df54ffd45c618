#include "dbus/dbusmarshalling_p.h"

#include <QByteArray>
#include <QDebug>
#include <QStringList>

namespace Pavane {

namespace {

// Bounds the recursion over nested lists; D-Bus itself allows 32 levels of
// arrays plus 32 of structures, which dbus_signature_validate_single checks.
constexpr int MaxNesting = 2 * DBUS_MAXIMUM_TYPE_RECURSION_DEPTH;

void reportUnsupported(const QVariant& value)
{
    qDebug().nospace() << "Unsupported variant type: " << value.type();
}

QByteArray signatureOf(const QVariant& value, bool listAsArray, int depth);

// A nested list is written as an array or a structure by its own uniformity.
QByteArray elementSignature(const QVariant& element, int depth)
{
    const bool asArray = element.type() == QVariant::List && isUniformList(element.toList());
    return signatureOf(element, asArray, depth);
}

// Every element of an ARRAY must have the same signature. Elements of the same
// scalar type always do; lists and byte arrays are compared one by one.
QByteArray arraySignature(const QList<QVariant>& list, int depth)
{
    if (list.isEmpty())
        return {};
    const QByteArray element = elementSignature(list.first(), depth + 1);
    if (element.isEmpty())
        return {};
    const QVariant::Type type = list.first().type();
    const bool mayDiffer = type == QVariant::List || type == QVariant::ByteArray;
    for (int i = 1; i < list.size(); ++i) {
        if (list.at(i).type() != type)
            return {};
        if (mayDiffer && elementSignature(list.at(i), depth + 1) != element)
            return {};
    }
    return 'a' + element;
}

// Fields that cannot be sent are left out; a structure without fields cannot
// be sent at all.
QByteArray structSignature(const QList<QVariant>& list, int depth)
{
    QByteArray fields;
    for (const QVariant& element : list)
        fields += elementSignature(element, depth + 1);
    if (fields.isEmpty())
        return {};
    return '(' + fields + ')';
}

QByteArray signatureOf(const QVariant& value, bool listAsArray, int depth)
{
    switch (value.type()) {
    case QVariant::Bool: return QByteArrayLiteral("b");
    case QVariant::Int: return QByteArrayLiteral("i");
    case QVariant::UInt: return QByteArrayLiteral("u");
    case QVariant::LongLong: return QByteArrayLiteral("x");
    case QVariant::ULongLong: return QByteArrayLiteral("t");
    case QVariant::Char: return QByteArrayLiteral("y");
    case QVariant::String: return QByteArrayLiteral("s");
    case QVariant::StringList: return QByteArrayLiteral("as");
    case QVariant::ByteArray:
        // libdbus aborts on a byte array beyond the protocol's array limit.
        if (value.toByteArray().size() > DBUS_MAXIMUM_ARRAY_LENGTH)
            return {};
        return QByteArrayLiteral("ay");
    case QVariant::List:
        if (depth >= MaxNesting)
            return {};
        return listAsArray ? arraySignature(value.toList(), depth)
                           : structSignature(value.toList(), depth);
    default:
        return {};
    }
}

// The signature of a whole argument, or empty when it cannot be sent: the
// protocol limits the nesting and the length of a signature.
QByteArray argumentSignature(const QVariant& value)
{
    const QByteArray signature = elementSignature(value, 0);
    if (signature.isEmpty() || signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
        || !dbus_signature_validate_single(signature.constData(), nullptr))
        return {};
    return signature;
}

void appendString(const QString& string, DBusMessageIter* iter)
{
    // QString::toUtf8 always gives valid UTF-8 (lone surrogates become '?'),
    // which libdbus insists on.
    const QByteArray utf8 = string.toUtf8();
    const char* data = utf8.constData();
    dbus_message_iter_append_basic(iter, DBUS_TYPE_STRING, &data);
}

// Writes @p value, whose signature @p signature has already been checked.
void writeValue(const QVariant& value, const QByteArray& signature, DBusMessageIter* iter)
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
                writeValue(v, element, &sub);
        } else {
            dbus_message_iter_open_container(iter, DBUS_TYPE_STRUCT, nullptr, &sub);
            for (const QVariant& v : list) {
                const QByteArray field = elementSignature(v, 0);
                if (field.isEmpty())
                    reportUnsupported(v);
                else
                    writeValue(v, field, &sub);
            }
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
    const QByteArray signature = signatureOf(value, listAsArray, 0);
    if (signature.isEmpty())
        reportUnsupported(value);
    return QString::fromLatin1(signature);
}

bool appendVariant(const QVariant& value, DBusMessageIter* iter)
{
    const QByteArray signature = argumentSignature(value);
    if (signature.isEmpty())
        reportUnsupported(value);
    else
        writeValue(value, signature, iter);
    return true;
}

bool appendArguments(DBusMessage* message, const QVariant* const* args, int count)
{
    DBusMessageIter iter;
    dbus_message_iter_init_append(message, &iter);
    int length = 0;
    for (int i = 0; i < count; ++i) {
        const QVariant& value = *args[i];
        if (!value.isValid())
            continue;
        const QByteArray signature = argumentSignature(value);
        // A message signature is limited too, over all its arguments.
        if (signature.isEmpty() || length + signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH) {
            reportUnsupported(value);
            continue;
        }
        length += signature.size();
        writeValue(value, signature, &iter);
    }
    return true;
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

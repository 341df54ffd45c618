// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "dbus/dbusmarshalling_p.h"
#include "logging/pavanelogging_p.h"

#include <QByteArray>
#include <QDebug>
#include <QStringList>
#include <QVector>

#include <cstring>
#include <initializer_list>

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

// Room for a message header besides the names it carries: the fixed part,
// field codes and padding, the signature, and the sender that the bus adds.
constexpr int MessageHeaderAllowance = 1024 + DBUS_MAXIMUM_SIGNATURE_LENGTH + DBUS_MAXIMUM_NAME_LENGTH;

void reportUnsupported(const QVariant& value)
{
    qCDebug(lcDBus).nospace() << "Unsupported variant type: " << value.type();
}

// What a value is sent as: its signature, empty when it cannot be sent, and
// for a list of lists or a structure, the shape of each element or field.
// Worked out once, at the depth where the value sits, and followed by both
// the measuring and the writing, so that they write exactly what was checked.
struct Shape
{
    QByteArray signature;
    QVector<Shape> parts;
};

Shape shapeOf(const QVariant& value, bool listAsArray, Depth depth);

// A nested list is written as an array or a structure by its own uniformity.
Shape elementShape(const QVariant& element, Depth depth)
{
    const bool asArray = element.type() == QVariant::List && isUniformList(element.toList());
    return shapeOf(element, asArray, depth);
}

// Every element of an ARRAY must have the same signature. Elements of the same
// type always do, except lists, which are compared one by one.
Shape arrayShape(const QList<QVariant>& list, Depth depth)
{
    if (!isUniformList(list))
        return {};
    if (list.first().type() != QVariant::List) {
        const Shape element = elementShape(list.first(), depth.inArray());
        return element.signature.isEmpty() ? Shape() : Shape{'a' + element.signature, {}};
    }
    Shape shape;
    shape.parts.reserve(list.size());
    for (const QVariant& element : list) {
        shape.parts.append(elementShape(element, depth.inArray()));
        const QByteArray& signature = shape.parts.last().signature;
        if (signature.isEmpty() || signature != shape.parts.first().signature)
            return {};
    }
    shape.signature = 'a' + shape.parts.first().signature;
    return shape;
}

// Fields that cannot be sent are left out (their shape has no signature); a
// structure without fields cannot be sent at all.
Shape structShape(const QList<QVariant>& list, Depth depth)
{
    Shape shape;
    shape.parts.reserve(list.size());
    for (const QVariant& element : list) {
        shape.parts.append(elementShape(element, depth.inStruct()));
        shape.signature += shape.parts.last().signature;
    }
    if (shape.signature.isEmpty())
        return {};
    shape.signature = '(' + shape.signature + ')';
    return shape;
}

Shape shapeOf(const QVariant& value, bool listAsArray, Depth depth)
{
    switch (value.type()) {
    case QVariant::Bool: return {QByteArrayLiteral("b"), {}};
    case QVariant::Int: return {QByteArrayLiteral("i"), {}};
    case QVariant::UInt: return {QByteArrayLiteral("u"), {}};
    case QVariant::LongLong: return {QByteArrayLiteral("x"), {}};
    case QVariant::ULongLong: return {QByteArrayLiteral("t"), {}};
    case QVariant::Char: return {QByteArrayLiteral("y"), {}};
    case QVariant::String: return {QByteArrayLiteral("s"), {}};
    case QVariant::StringList:
        return depth.mayOpenArray() ? Shape{QByteArrayLiteral("as"), {}} : Shape();
    case QVariant::ByteArray:
        return depth.mayOpenArray() ? Shape{QByteArrayLiteral("ay"), {}} : Shape();
    case QVariant::List:
        if (listAsArray)
            return depth.mayOpenArray() ? arrayShape(value.toList(), depth) : Shape();
        return depth.mayOpenStruct() ? structShape(value.toList(), depth) : Shape();
    default:
        return {};
    }
}

// The shape of a whole argument, with an empty signature when it cannot be
// sent: the protocol limits the nesting and the length of a signature.
Shape argumentShape(const QVariant& value)
{
    Shape shape = elementShape(value, Depth());
    if (shape.signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
        || !dbus_signature_validate_single(shape.signature.constData(), nullptr))
        return {};
    return shape;
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

// The length of what appendString writes, without converting: a lone
// surrogate becomes '?', and the string ends at its first NUL.
qint64 utf8Length(const QString& string)
{
    qint64 length = 0;
    const QChar* c = string.constData();
    const QChar* const end = c + string.size();
    for (; c != end; ++c) {
        const ushort u = c->unicode();
        if (u == 0)
            break;
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

// Measures the elements of an array, which start at @p offset; false once
// they exceed the protocol's array limit.
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

// Advances @p offset, from the start of the body (which is 8-aligned in the
// message), past @p value as written with @p signature, padding included.
// @p parts are the shapes of its elements or fields, where it has them.
// Returns false when an array in it is longer than the protocol allows.
bool measureValue(const QVariant& value, const QByteArray& signature, const QVector<Shape>& parts,
                  qint64& offset)
{
    const char type = signature.at(0);
    if (type == 's') {
        offset = aligned(offset, 4) + 4 + utf8Length(value.toString()) + 1;
        return true;
    }
    if (type == '(') {
        offset = aligned(offset, 8);
        const QList<QVariant> fields = value.toList();
        for (int i = 0; i < fields.size(); ++i) {
            const Shape& field = parts.at(i);
            if (!field.signature.isEmpty() && !measureValue(fields.at(i), field.signature, field.parts, offset))
                return false;
        }
        return true;
    }
    if (type != 'a') {
        const int size = alignmentOf(type);
        offset = aligned(offset, size) + size;
        return true;
    }
    const QByteArray element = signature.mid(1);
    offset = aligned(aligned(offset, 4) + 4, alignmentOf(element.at(0)));
    switch (value.type()) {
    case QVariant::ByteArray:
        offset += value.toByteArray().size();
        return value.toByteArray().size() <= DBUS_MAXIMUM_ARRAY_LENGTH;
    case QVariant::StringList:
        return measureElements(value.toStringList(), offset, [&](const QString& string) {
            return measureValue(string, element, {}, offset);
        });
    default:
        if (parts.isEmpty()) {
            return measureElements(value.toList(), offset, [&](const QVariant& v) {
                return measureValue(v, element, {}, offset);
            });
        }
        int i = 0;
        return measureElements(value.toList(), offset, [&](const QVariant& v) {
            const Shape& part = parts.at(i++);
            return measureValue(v, part.signature, part.parts, offset);
        });
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

// Writes @p value by its checked @p signature and the shapes of its elements
// or fields, @p parts, where it has them.
void writeValue(const QVariant& value, const QByteArray& signature, const QVector<Shape>& parts,
                DBusMessageIter* iter)
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
            for (int i = 0; i < list.size(); ++i) {
                if (parts.isEmpty())
                    writeValue(list.at(i), element, {}, &sub);
                else
                    writeValue(list.at(i), parts.at(i).signature, parts.at(i).parts, &sub);
            }
        } else {
            dbus_message_iter_open_container(iter, DBUS_TYPE_STRUCT, nullptr, &sub);
            for (int i = 0; i < list.size(); ++i) {
                const Shape& field = parts.at(i);
                if (field.signature.isEmpty())
                    reportUnsupported(list.at(i));
                else
                    writeValue(list.at(i), field.signature, field.parts, &sub);
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

// An array of fixed-size numbers is read in one go, straight from the
// message: stepping an iterator over millions of elements is what a large
// reply would otherwise spend its time on.
template <typename Wire, typename Value>
QVariant readFixedArray(DBusMessageIter* sub)
{
    const Wire* data = nullptr;
    int count = 0;
    if (dbus_message_iter_get_arg_type(sub) != DBUS_TYPE_INVALID)
        dbus_message_iter_get_fixed_array(sub, &data, &count);
    QList<QVariant> elements;
    elements.reserve(count);
    for (int i = 0; i < count; ++i)
        elements.append(QVariant(Value(data[i])));
    return QVariant(elements);
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
    const QByteArray signature = shapeOf(value, listAsArray, Depth()).signature;
    if (signature.isEmpty())
        reportUnsupported(value);
    return QString::fromLatin1(signature);
}

namespace {

struct Argument
{
    const QVariant* value;
    Shape shape;
};

qint64 headerAllowance(std::initializer_list<const char*> names)
{
    qint64 length = MessageHeaderAllowance;
    for (const char* name : names) {
        if (name)
            length += qstrlen(name);
    }
    return length;
}

// The valid ones of @p count arguments that can be sent, in order, with their
// shapes; the others are reported and left out. @p bodyLength is set to the
// length of the body they make.
QVector<Argument> sendableArguments(const QVariant* const* args, int count, qint64 headerLength,
                                    qint64& bodyLength)
{
    QVector<Argument> sendable;
    sendable.reserve(count);
    int signatureLength = 0;
    bodyLength = 0;
    for (int i = 0; i < count; ++i) {
        const QVariant& value = *args[i];
        if (!value.isValid())
            continue;
        Shape shape = argumentShape(value);
        // A message signature is limited too, over all its arguments, and so
        // are the lengths of arrays and of the whole message: beyond them the
        // bus would drop the connection.
        qint64 end = bodyLength;
        if (shape.signature.isEmpty()
            || signatureLength + shape.signature.size() > DBUS_MAXIMUM_SIGNATURE_LENGTH
            || !measureValue(value, shape.signature, shape.parts, end)
            || headerLength + end > DBUS_MAXIMUM_MESSAGE_LENGTH) {
            reportUnsupported(value);
            continue;
        }
        signatureLength += shape.signature.size();
        bodyLength = end;
        sendable.append({&value, std::move(shape)});
    }
    return sendable;
}

// Writes a message as it goes over the wire, in this machine's byte order.
// Alignment counts from the start of the message, as the protocol's does.
class WireWriter
{
public:
    struct Array
    {
        int lengthAt;
        int start;
    };

    explicit WireWriter(QByteArray& out)
        : out(out)
    {
    }

    int size() const { return out.size(); }

    void align(int alignment)
    {
        const int padding = int(aligned(out.size(), alignment) - out.size());
        if (padding)
            out.append(padding, '\0');
    }

    void byte(uchar value) { out.append(char(value)); }
    void raw(const char* data, int length) { out.append(data, length); }

    template <typename Number>
    void number(Number value)
    {
        align(int(sizeof value));
        out.append(reinterpret_cast<const char*>(&value), int(sizeof value));
    }

    template <typename Number>
    void numberAt(int at, Number value)
    {
        std::memcpy(out.data() + at, &value, sizeof value);
    }

    void string(const char* data, int length)
    {
        number(quint32(length));
        out.append(data, length);
        out.append('\0');
    }

    void signature(const char* data, int length)
    {
        byte(uchar(length));
        out.append(data, length);
        out.append('\0');
    }

    // Libdbus takes strings as C strings: they end at their first NUL.
    void string(const QString& value)
    {
        const QByteArray utf8 = value.toUtf8();
        string(utf8.constData(), int(qstrlen(utf8.constData())));
    }

    Array openArray(int elementAlignment)
    {
        number(quint32(0));
        const int lengthAt = out.size() - 4;
        align(elementAlignment);
        return {lengthAt, out.size()};
    }

    void closeArray(const Array& array) { numberAt(array.lengthAt, quint32(out.size() - array.start)); }

private:
    QByteArray& out;
};

// writeValue's twin on the wire: the same values, signatures and shapes.
void encodeValue(WireWriter& w, const QVariant& value, const QByteArray& signature,
                 const QVector<Shape>& parts)
{
    switch (value.type()) {
    case QVariant::Bool: w.number(quint32(value.toBool() ? 1 : 0)); break;
    case QVariant::Int: w.number(qint32(value.toInt())); break;
    case QVariant::UInt: w.number(quint32(value.toUInt())); break;
    case QVariant::LongLong: w.number(qint64(value.toLongLong())); break;
    case QVariant::ULongLong: w.number(quint64(value.toULongLong())); break;
    case QVariant::Char: w.byte(static_cast<uchar>(value.toChar().toLatin1())); break;
    case QVariant::String: w.string(value.toString()); break;
    case QVariant::StringList: {
        const WireWriter::Array array = w.openArray(4);
        const QStringList strings = value.toStringList();
        for (const QString& string : strings)
            w.string(string);
        w.closeArray(array);
        break;
    }
    case QVariant::ByteArray: {
        const WireWriter::Array array = w.openArray(1);
        const QByteArray bytes = value.toByteArray();
        w.raw(bytes.constData(), bytes.size());
        w.closeArray(array);
        break;
    }
    case QVariant::List: {
        const QList<QVariant> list = value.toList();
        if (signature.startsWith('a')) {
            const QByteArray element = signature.mid(1);
            const WireWriter::Array array = w.openArray(alignmentOf(element.at(0)));
            for (int i = 0; i < list.size(); ++i) {
                if (parts.isEmpty())
                    encodeValue(w, list.at(i), element, {});
                else
                    encodeValue(w, list.at(i), parts.at(i).signature, parts.at(i).parts);
            }
            w.closeArray(array);
        } else {
            w.align(8);
            for (int i = 0; i < list.size(); ++i) {
                const Shape& field = parts.at(i);
                if (field.signature.isEmpty())
                    reportUnsupported(list.at(i));
                else
                    encodeValue(w, list.at(i), field.signature, field.parts);
            }
        }
        break;
    }
    default:
        break; // not reached: the signature was checked
    }
}

// A field without value is left out, as libdbus leaves out a missing
// destination or interface.
void encodeField(WireWriter& w, int code, char type, const char* value)
{
    if (!value)
        return;
    w.align(8);
    w.byte(uchar(code));
    w.signature(&type, 1);
    if (type == DBUS_TYPE_SIGNATURE)
        w.signature(value, int(qstrlen(value)));
    else
        w.string(value, int(qstrlen(value)));
}

// The whole method call as it goes over the wire, with serial 1 (a message
// without one does not parse). False if its body came out other than
// measured, which would be a fault of this writer.
bool encodeMethodCall(QByteArray& out, const char* destination, const char* path, const char* interface,
                      const char* member, const QVector<Argument>& arguments, qint64 bodyLength)
{
    QByteArray signature;
    for (const Argument& argument : arguments)
        signature += argument.shape.signature;
    out.reserve(int(headerAllowance({destination, path, interface, member}) + bodyLength));
    WireWriter w(out);
    w.byte(Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? DBUS_LITTLE_ENDIAN : DBUS_BIG_ENDIAN);
    w.byte(DBUS_MESSAGE_TYPE_METHOD_CALL);
    w.byte(0);
    w.byte(DBUS_MAJOR_PROTOCOL_VERSION);
    w.number(quint32(0)); // the body's length, set below
    w.number(quint32(1)); // the serial
    const WireWriter::Array fields = w.openArray(8);
    encodeField(w, DBUS_HEADER_FIELD_PATH, DBUS_TYPE_OBJECT_PATH, path);
    encodeField(w, DBUS_HEADER_FIELD_DESTINATION, DBUS_TYPE_STRING, destination);
    encodeField(w, DBUS_HEADER_FIELD_INTERFACE, DBUS_TYPE_STRING, interface);
    encodeField(w, DBUS_HEADER_FIELD_MEMBER, DBUS_TYPE_STRING, member);
    if (!signature.isEmpty())
        encodeField(w, DBUS_HEADER_FIELD_SIGNATURE, DBUS_TYPE_SIGNATURE, signature.constData());
    w.closeArray(fields);
    w.align(8);
    const int bodyStart = w.size();
    for (const Argument& argument : arguments)
        encodeValue(w, *argument.value, argument.shape.signature, argument.shape.parts);
    if (w.size() - bodyStart != bodyLength)
        return false;
    w.numberAt(4, quint32(bodyLength));
    return true;
}

// Past this, building a message in one piece and parsing it again would hold
// it three times over; the few big ones go the plain way.
constexpr qint64 DirectBodyLimit = 64 * 1024;

// Libdbus rewrites the header's signature with every argument appended, which
// costs far more than the arguments themselves; a message written whole and
// parsed once costs a third. Parsing checks it as the bus would.
DBusMessage* directMethodCall(const char* destination, const char* path, const char* interface,
                              const char* member, const QVector<Argument>& arguments, qint64 bodyLength)
{
    if (bodyLength > DirectBodyLimit)
        return nullptr;
    QByteArray wire;
    if (!encodeMethodCall(wire, destination, path, interface, member, arguments, bodyLength))
        return nullptr;
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* parsed = dbus_message_demarshal(wire.constData(), wire.size(), &error);
    if (!parsed) {
        dbus_error_free(&error);
        return nullptr;
    }
    // The copy has no serial, so that the connection gives it the next one.
    DBusMessage* message = dbus_message_copy(parsed);
    dbus_message_unref(parsed);
    return message;
}

} // namespace

qint64 appendArguments(DBusMessage* message, const QVariant* const* args, int count)
{
    qint64 bodyLength = 0;
    const QVector<Argument> arguments = sendableArguments(
        args, count,
        headerAllowance({dbus_message_get_path(message), dbus_message_get_interface(message),
                         dbus_message_get_member(message), dbus_message_get_destination(message)}),
        bodyLength);
    DBusMessageIter iter;
    dbus_message_iter_init_append(message, &iter);
    for (const Argument& argument : arguments)
        writeValue(*argument.value, argument.shape.signature, argument.shape.parts, &iter);
    return bodyLength;
}

QByteArray encodeMethodCall(const char* destination, const char* path, const char* interface,
                            const char* member, const QVariant* const* args, int count)
{
    qint64 bodyLength = 0;
    const QVector<Argument> arguments =
        sendableArguments(args, count, headerAllowance({destination, path, interface, member}), bodyLength);
    QByteArray wire;
    if (bodyLength > DirectBodyLimit
        || !encodeMethodCall(wire, destination, path, interface, member, arguments, bodyLength))
        return {};
    return wire;
}

DBusMessage* newMethodCall(const char* destination, const char* path, const char* interface,
                           const char* member, const QVariant* const* args, int count)
{
    qint64 bodyLength = 0;
    const QVector<Argument> arguments =
        sendableArguments(args, count, headerAllowance({destination, path, interface, member}), bodyLength);
    if (DBusMessage* message = directMethodCall(destination, path, interface, member, arguments, bodyLength))
        return message;
    DBusMessage* message = dbus_message_new_method_call(destination, path, interface, member);
    if (!message)
        return nullptr;
    DBusMessageIter iter;
    dbus_message_iter_init_append(message, &iter);
    for (const Argument& argument : arguments)
        writeValue(*argument.value, argument.shape.signature, argument.shape.parts, &iter);
    return message;
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
        switch (elementType) {
        case DBUS_TYPE_INT32: return readFixedArray<dbus_int32_t, int>(&sub);
        case DBUS_TYPE_UINT32: return readFixedArray<dbus_uint32_t, uint>(&sub);
        case DBUS_TYPE_INT64: return readFixedArray<dbus_int64_t, qlonglong>(&sub);
        case DBUS_TYPE_UINT64: return readFixedArray<dbus_uint64_t, qulonglong>(&sub);
        case DBUS_TYPE_BOOLEAN: return readFixedArray<dbus_bool_t, bool>(&sub);
        default: break;
        }
        QList<QVariant> elements;
        while (dbus_message_iter_get_arg_type(&sub) != DBUS_TYPE_INVALID) {
            elements.append(readVariant(&sub));
            dbus_message_iter_next(&sub);
        }
        return QVariant(elements);
    }
    default:
        qCDebug(lcDBus).nospace() << "Unsupported DBUS type: " << type;
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

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/connectivitysettings.h>

#include "logging/pavanelogging_p.h"

#include "settings/netprefslibrary_p.h"

#include <QByteArray>
#include <QDebug>

#include <vector>

namespace Pavane {

static_assert(int(ConnectivitySettings::IAP) == int(NET_PREFS_TYPE_IAP), "record types are the store's codes");
static_assert(int(ConnectivitySettings::Bearer) == int(NET_PREFS_TYPE_BEARER), "record types are the store's codes");
static_assert(int(ConnectivitySettings::General) == int(NET_PREFS_TYPE_GENERAL), "record types are the store's codes");

namespace {

// What set() answers for a value that the store cannot hold.
constexpr int CannotStore = -20;

QVariant fromElement(const net_prefs_value* element, bool* known)
{
    *known = true;
    switch (element->type) {
    case NET_PREFS_VALUE_NONE: return QVariant();
    case NET_PREFS_VALUE_STRING: return QString::fromUtf8(element->value.string_value);
    case NET_PREFS_VALUE_INT: return element->value.int_value;
    case NET_PREFS_VALUE_DOUBLE: return element->value.double_value;
    // A boolean element keeps its raw payload, unlike a single boolean value.
    case NET_PREFS_VALUE_BOOL: return element->value.bool_value;
    default:
        *known = false;
        return QVariant();
    }
}

// A list of ints within 0..255 becomes a byte array, a list of strings a
// string list; anything else stays a list.
QVariant narrowList(const QVariantList& list)
{
    if (list.isEmpty())
        return list;
    const QVariant::Type first = list.first().type();
    if (first == QVariant::Int || first == QVariant::UInt) {
        QByteArray bytes;
        bytes.reserve(list.size());
        for (const QVariant& element : list) {
            const QVariant::Type type = element.type();
            const int value = element.toInt();
            if ((type != QVariant::Int && type != QVariant::UInt) || value < 0 || value > 255)
                return list;
            bytes.append(char(value));
        }
        return bytes;
    }
    if (first == QVariant::String) {
        QStringList strings;
        strings.reserve(list.size());
        for (const QVariant& element : list) {
            if (element.type() != QVariant::String)
                return list;
            strings.append(element.toString());
        }
        return strings;
    }
    return list;
}

QStringList takeStrings(char** strings)
{
    QStringList result;
    if (!strings)
        return result;
    for (char** s = strings; *s; ++s) {
        result.append(QString::fromUtf8(*s));
        free(*s);
    }
    free(strings);
    return result;
}

// Looked up per call rather than kept per object: the private record holds
// the record's own state only.
const NetPrefsLibrary& store()
{
    return NetPrefsLibrary::functions();
}

} // namespace

class ConnectivitySettingsPrivate
{
public:
    ConnectivitySettingsPrivate(ConnectivitySettings* q, ConnectivitySettings::Type type,
                                const QString& id)
        : id(id)
        , type(type)
        , q(q)
    {
    }

    static void changed(int type, const char* id, const char* key, const net_prefs_value* value,
                        void* self);
    QVariant readList(const QByteArray& key) const;

    QString id;
    ConnectivitySettings::Type type;
    net_prefs_handle* handle = nullptr;
    ConnectivitySettings* const q;
};

void ConnectivitySettingsPrivate::changed(int type, const char*, const char* key,
                                          const net_prefs_value*, void* self)
{
    auto* d = static_cast<ConnectivitySettingsPrivate*>(self);
    if (!d || type != d->type)
        return;
    // Keys are written as UTF-8, so they are read back so.
    Q_EMIT d->q->valueChanged(QString::fromUtf8(key));
}

QVariant ConnectivitySettingsPrivate::readList(const QByteArray& key) const
{
    QVariantList list;
    net_prefs_value** array = nullptr;
    if (store().get_list(handle, key.constData(), &array) != NET_PREFS_OK) {
        qCWarning(lcSettings, "Error while reading %s", key.constData());
    } else {
        for (net_prefs_value** element = array; *element; ++element) {
            bool known = false;
            const QVariant value = fromElement(*element, &known);
            if (known)
                list.append(value);
            else
                qCWarning(lcSettings, "UnKnown value type");
        }
    }
    store().values_destroy(array);
    return narrowList(list);
}

ConnectivitySettings::ConnectivitySettings(Type type)
    : ConnectivitySettings(type, QString())
{
}

ConnectivitySettings::ConnectivitySettings(Type type, const QString& id)
    : QObject(nullptr)
    , d(std::make_unique<ConnectivitySettingsPrivate>(this, type, id))
{
    d->handle = store().open(type,
                               id.isEmpty() ? nullptr : id.toUtf8().constData());
    if (!d->handle)
        qCCritical(lcSettings) << "Failed to open netprefs for" << id;
    if (!store().add_notify(d->handle, &ConnectivitySettingsPrivate::changed, d.get()))
        qCWarning(lcSettings, "Unable to add notify for connectivity settings");
}

ConnectivitySettings::~ConnectivitySettings()
{
    if (d->handle) {
        store().del_notify(d->handle);
        store().close(d->handle);
        d->handle = nullptr;
    }
}

QVariant ConnectivitySettings::get(const QString& key) const
{
    const QByteArray utf8Key = key.toUtf8();
    net_prefs_value* value = store().get(d->handle, utf8Key.constData());
    if (!value)
        return QVariant();

    QVariant result;
    switch (value->type) {
    case NET_PREFS_VALUE_BOOL:
        result = value->value.bool_value != 0;
        break;
    case NET_PREFS_VALUE_LIST:
        result = d->readList(utf8Key);
        break;
    case NET_PREFS_VALUE_BYTE_ARRAY:
        result = QByteArray(reinterpret_cast<const char*>(value->value.byte_array.data),
                            value->value.byte_array.length);
        break;
    default: {
        bool known = false;
        result = fromElement(value, &known);
        if (!known)
            qCWarning(lcSettings, "UnKnown value type");
        break;
    }
    }
    store().value_destroy(value);
    return result;
}

int ConnectivitySettings::set(const QString& key, QVariant value)
{
    const QByteArray k = key.toUtf8();
    switch (value.type()) {
    case QVariant::Invalid:
        return store().unset(d->handle, k.constData());
    case QVariant::Bool:
        return store().set_bool(d->handle, k.constData(), value.toBool());
    case QVariant::Int:
        return store().set_int(d->handle, k.constData(), value.toInt());
    case QVariant::Double:
        return store().set_double(d->handle, k.constData(), value.toDouble());
    case QVariant::String:
        return store().set_string(d->handle, k.constData(), value.toString().toUtf8().constData());
    case QVariant::ByteArray: {
        const QByteArray bytes = value.toByteArray();
        return store().set_byte_array(d->handle, k.constData(), bytes.constData(), bytes.size());
    }
    case QVariant::StringList: {
        const QStringList strings = value.toStringList();
        if (strings.isEmpty())
            return store().set_list(d->handle, k.constData(), nullptr, 0, NET_PREFS_VALUE_STRING);
        std::vector<QByteArray> copies;
        std::vector<const char*> array;
        copies.reserve(size_t(strings.size()));
        for (const QString& s : strings) {
            copies.push_back(s.toUtf8());
            array.push_back(copies.back().constData());
        }
        return store().set_list(d->handle, k.constData(), array.data(), int(array.size()),
                                  NET_PREFS_VALUE_STRING);
    }
    case QVariant::List: {
        const QVariantList list = value.toList();
        if (list.isEmpty())
            return CannotStore;
        std::vector<int> integers;
        integers.reserve(size_t(list.size()));
        for (const QVariant& element : list) {
            if (element.type() != QVariant::Int)
                return CannotStore;
            integers.push_back(element.toInt());
        }
        return store().set_list(d->handle, k.constData(), integers.data(), int(integers.size()),
                                  NET_PREFS_VALUE_INT);
    }
    default:
        return CannotStore;
    }
}

bool ConnectivitySettings::idExists(const QString& id)
{
    if (!d->id.isEmpty())
        return get(id).isValid();
    return store().id_exists(d->type, id.toUtf8().constData()) != 0;
}

QStringList ConnectivitySettings::getAllIds() const
{
    return takeStrings(store().list_ids(d->type));
}

QStringList ConnectivitySettings::getAllKeys() const
{
    if (!d->handle)
        return {};
    return takeStrings(store().list_keys(d->handle));
}

void ConnectivitySettings::remove()
{
    if (store().remove(d->handle) != NET_PREFS_OK)
        qCWarning(lcSettings, "Unable to remove IAP %s", d->id.toUtf8().constData());
}

} // namespace Pavane

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DBUSMARSHALLING_P_H
#define PAVANE_DBUSMARSHALLING_P_H

#include <QList>
#include <QString>
#include <QVariant>

#include <dbus/dbus.h>

// Conversion between variants and the arguments of a libdbus message.
//
// Outgoing: bool, int, uint, qlonglong, qulonglong, QChar (as a byte),
// QString, QStringList, QByteArray; a list whose elements all have the same
// variant type is an ARRAY, any other list a STRUCT. Anything else is left out
// of the message with a debug message.
//
// Incoming: the same basic types, STRUCT as a list, arrays of bytes and
// strings as QByteArray and QStringList, other arrays as lists; any other
// D-Bus type becomes an invalid variant.
namespace Pavane {

bool isUniformList(const QList<QVariant>& list);

// The D-Bus signature of @p value, or an empty string when it cannot be sent.
// @p listAsArray picks the ARRAY form for a list (else the STRUCT form);
// nested lists take the form that their own uniformity gives them.
QString variantSignature(const QVariant& value, bool listAsArray);

// Writes the valid ones of @p count arguments into @p message, in order;
// invalid variants and values that cannot be sent are left out, among them
// those that would take an array or the message beyond the protocol's limits.
// Returns the length of the body written.
qint64 appendArguments(DBusMessage* message, const QVariant* const* args, int count);

// A method call of @p member with the arguments that appendArguments would
// write; null when there is no memory. The names must have been checked.
// @p interface may be null.
DBusMessage* newMethodCall(const char* destination, const char* path, const char* interface,
                           const char* member, const QVariant* const* args, int count);

// The method call that newMethodCall builds, as it goes over the wire, with
// serial 1; empty when it is too long to be built that way (it is then built
// with libdbus's own writer).
QByteArray encodeMethodCall(const char* destination, const char* path, const char* interface,
                            const char* member, const QVariant* const* args, int count);

// Reads the argument at @p iter without stepping past it.
QVariant readVariant(DBusMessageIter* iter);

// Reads every argument of @p message, one entry per argument.
QList<QVariant> readArguments(DBusMessage* message);

} // namespace Pavane

#endif

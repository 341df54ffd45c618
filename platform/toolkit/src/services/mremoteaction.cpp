// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mremoteaction.h"

#include <QDBusConnection>
#include <QDBusMessage>

MRemoteAction::MRemoteAction(const QString& serviceName, const QString& objectPath, const QString& interface,
                             const QString& methodName, const QList<QVariant>& arguments, QObject* parent)
    : QObject(parent)
    , m_serviceName(serviceName)
    , m_objectPath(objectPath)
    , m_interface(interface)
    , m_methodName(methodName)
    , m_arguments(arguments)
{
}

MRemoteAction::MRemoteAction(QObject* parent)
    : QObject(parent)
{
}

MRemoteAction::~MRemoteAction() = default;

QString MRemoteAction::serviceName() const { return m_serviceName; }
QString MRemoteAction::objectPath() const { return m_objectPath; }
QString MRemoteAction::interface() const { return m_interface; }
QString MRemoteAction::methodName() const { return m_methodName; }
QList<QVariant> MRemoteAction::arguments() const { return m_arguments; }

void MRemoteAction::trigger()
{
    if (m_serviceName.isEmpty() || m_objectPath.isEmpty() || m_methodName.isEmpty())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(m_serviceName, m_objectPath, m_interface, m_methodName);
    call.setArguments(m_arguments);
    QDBusConnection::sessionBus().send(call);
}

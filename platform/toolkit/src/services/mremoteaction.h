// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MREMOTEACTION_H
#define MREMOTEACTION_H

#include "tesseltouchcore_export.h"

#include <QList>
#include <QObject>
#include <QVariant>

// A D-Bus method call on the session bus, named by service, object path,
// interface, method and arguments, to be made later: what tapping a
// notification does.
class TT_EXPORT MRemoteAction : public QObject
{
    Q_OBJECT

public:
    MRemoteAction(const QString& serviceName, const QString& objectPath, const QString& interface,
                  const QString& methodName, const QList<QVariant>& arguments = QList<QVariant>(),
                  QObject* parent = nullptr);
    explicit MRemoteAction(QObject* parent = nullptr);
    ~MRemoteAction() override;

    QString serviceName() const;
    QString objectPath() const;
    QString interface() const;
    QString methodName() const;
    QList<QVariant> arguments() const;

public Q_SLOTS:
    // Makes the call without waiting for its reply.
    void trigger();

private:
    QString m_serviceName;
    QString m_objectPath;
    QString m_interface;
    QString m_methodName;
    QList<QVariant> m_arguments;
};

#endif

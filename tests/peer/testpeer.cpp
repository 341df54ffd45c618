// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A D-Bus service for the tests, "com.zelkor.pavane.TestPeer" on the system
// bus, answering on every path and interface: Echo(...) and Signature(...)
// reply with the arguments or their signature; Fail(name, text) with that
// error; Return(kind) with canned values the caller may not support;
// Hold(tag, ...) is answered only on Release(tag); Emit(path, interface,
// member, ...) sends that signal to the caller alone; WhoAmI() replies with
// the caller's unique name; Ints(n) with an "ai" of the n values i - n / 2.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QHash>
#include <QStringList>

#include <cstdio>

namespace {

const char* const ServiceName = "com.zelkor.pavane.TestPeer";

QList<QVariant> cannedReply(const QString& kind)
{
    const QHash<QString, QList<QVariant>> replies{
        {"byte", {QVariant::fromValue(uchar(65))}},
        {"variant", {QVariant::fromValue(QDBusVariant(5))}},
        {"dict", {QVariantMap{{"one", 1}, {"two", "2"}}}},
        {"mixed", {7, 2.5, QStringLiteral("after")}},
        {"nothing", {}},
    };
    return replies.value(kind, {QStringLiteral("unknown kind")});
}

class TestPeer : public QDBusVirtualObject
{
public:
    explicit TestPeer(const QDBusConnection& connection)
        : bus(connection)
    {
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.type() != QDBusMessage::MethodCallMessage)
            return false;
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();

        if (member == QLatin1String("Echo"))
            return reply(message.createReply(args));
        if (member == QLatin1String("Signature"))
            return reply(message.createReply(message.signature()));
        if (member == QLatin1String("Fail") && args.size() == 2)
            return reply(message.createErrorReply(args.at(0).toString(), args.at(1).toString()));
        if (member == QLatin1String("Return") && args.size() == 1)
            return reply(message.createReply(cannedReply(args.at(0).toString())));
        if (member == QLatin1String("Ints") && args.size() == 1) {
            QList<int> ints;
            for (int i = 0, n = args.at(0).toInt(); i < n; ++i)
                ints.append(i - n / 2);
            return reply(message.createReply(QVariant::fromValue(ints)));
        }
        if (member == QLatin1String("WhoAmI"))
            return reply(message.createReply(message.service()));
        if (member == QLatin1String("Hold") && !args.isEmpty()) {
            held.insert(args.at(0).toString(), message);
            return true;
        }
        if (member == QLatin1String("Release") && args.size() == 1) {
            const QDBusMessage call = held.take(args.at(0).toString());
            if (call.type() == QDBusMessage::MethodCallMessage)
                connection.send(call.createReply(call.arguments()));
            return reply(message.createReply());
        }
        if (member == QLatin1String("Emit") && args.size() >= 3) {
            QDBusMessage signal = QDBusMessage::createTargetedSignal(
                message.service(), args.at(0).toString(), args.at(1).toString(),
                args.at(2).toString());
            signal.setArguments(args.mid(3));
            connection.send(signal);
            return reply(message.createReply());
        }
        return reply(message.createErrorReply(QDBusError::UnknownMethod, member));
    }

private:
    bool reply(const QDBusMessage& message)
    {
        bus.send(message);
        return true;
    }

    QDBusConnection bus;
    QHash<QString, QDBusMessage> held;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    TestPeer peer(bus);
    if (!bus.registerVirtualObject(QStringLiteral("/"), &peer, QDBusConnection::SubPath)
        || !bus.registerService(QLatin1String(ServiceName))) {
        std::fprintf(stderr, "testpeer: cannot register on the system bus\n");
        return 1;
    }
    return app.exec();
}

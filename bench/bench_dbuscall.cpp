// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Round trips of DBusDispatcher against one echo peer, next to the same calls
// made with raw libdbus, with QDBusConnection::call and with QDBusInterface,
// all measured in this run; and 1,000 asynchronous calls in flight, against
// raw libdbus pending calls. Prints each figure and the ratios to raw libdbus.
//
// Run it on private buses: tests/harness/with-private-buses bench_dbuscall
#include <Pavane/DBusDispatcher>

#include "benchsupport.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QEventLoop>

#include <benchmark/benchmark.h>
#include <dbus/dbus.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>


namespace {

const char* const Path = "/com/zelkor/pavane/bench";
const char* const Interface = "com.zelkor.pavane.Bench";
constexpr int InFlight = 1000;

QString service() { return QLatin1String(TestSupport::PeerProcess::ServiceName); }

// The typical argument set: a string, an int, a string list, 1 KiB of bytes.
struct Arguments
{
    QString name = QStringLiteral("home-network");
    int number = 42;
    QStringList list{QStringLiteral("wlan0"), QStringLiteral("wlan1"), QStringLiteral("gprs0")};
    QByteArray bytes = QByteArray(1024, '\x5a');
};
const Arguments& arguments()
{
    static const Arguments args;
    return args;
}

// --- raw libdbus ------------------------------------------------------------

DBusConnection* rawConnection()
{
    static DBusConnection* connection = [] {
        DBusConnection* c = dbus_bus_get_private(DBUS_BUS_SYSTEM, nullptr);
        dbus_connection_set_exit_on_disconnect(c, false);
        return c;
    }();
    return connection;
}

DBusMessage* rawEchoMessage()
{
    const Arguments& a = arguments();
    const QByteArray serviceName = service().toLatin1();
    DBusMessage* message = dbus_message_new_method_call(serviceName.constData(), Path, Interface, "Echo");
    DBusMessageIter iter, sub;
    dbus_message_iter_init_append(message, &iter);
    const QByteArray name = a.name.toUtf8();
    const char* namePtr = name.constData();
    dbus_message_iter_append_basic(&iter, DBUS_TYPE_STRING, &namePtr);
    const dbus_int32_t number = a.number;
    dbus_message_iter_append_basic(&iter, DBUS_TYPE_INT32, &number);
    dbus_message_iter_open_container(&iter, DBUS_TYPE_ARRAY, "s", &sub);
    for (const QString& s : a.list) {
        const QByteArray utf8 = s.toUtf8();
        const char* p = utf8.constData();
        dbus_message_iter_append_basic(&sub, DBUS_TYPE_STRING, &p);
    }
    dbus_message_iter_close_container(&iter, &sub);
    dbus_message_iter_open_container(&iter, DBUS_TYPE_ARRAY, "y", &sub);
    const char* bytes = a.bytes.constData();
    dbus_message_iter_append_fixed_array(&sub, DBUS_TYPE_BYTE, &bytes, a.bytes.size());
    dbus_message_iter_close_container(&iter, &sub);
    return message;
}

// Reads the echoed arguments the way a libdbus client would: pointers into
// the message, no conversion.
size_t rawReadReply(DBusMessage* reply)
{
    size_t seen = 0;
    DBusMessageIter iter, sub;
    dbus_message_iter_init(reply, &iter);
    const char* s = nullptr;
    dbus_int32_t i = 0;
    dbus_message_iter_get_basic(&iter, &s);
    seen += std::strlen(s);
    dbus_message_iter_next(&iter);
    dbus_message_iter_get_basic(&iter, &i);
    seen += i;
    dbus_message_iter_next(&iter);
    dbus_message_iter_recurse(&iter, &sub);
    while (dbus_message_iter_get_arg_type(&sub) == DBUS_TYPE_STRING) {
        dbus_message_iter_get_basic(&sub, &s);
        seen += std::strlen(s);
        dbus_message_iter_next(&sub);
    }
    dbus_message_iter_next(&iter);
    dbus_message_iter_recurse(&iter, &sub);
    const char* bytes = nullptr;
    int n = 0;
    dbus_message_iter_get_fixed_array(&sub, &bytes, &n);
    return seen + size_t(n);
}

void RawLibdbus_Call(benchmark::State& state)
{
    for (auto _ : state) {
        DBusMessage* message = rawEchoMessage();
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(rawConnection(), message,
                                                                       -1, nullptr);
        dbus_message_unref(message);
        if (!reply) {
            state.SkipWithError("no reply");
            break;
        }
        benchmark::DoNotOptimize(rawReadReply(reply));
        dbus_message_unref(reply);
    }
}

void countReply(DBusPendingCall* pending, void* counter)
{
    DBusMessage* reply = dbus_pending_call_steal_reply(pending);
    if (reply && dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN)
        ++*static_cast<int*>(counter);
    if (reply)
        dbus_message_unref(reply);
    dbus_pending_call_unref(pending);
}

void RawLibdbus_Async1000(benchmark::State& state)
{
    int answered = 0;
    for (auto _ : state) {
        answered = 0;
        for (int n = 0; n < InFlight; ++n) {
            DBusMessage* message = rawEchoMessage();
            DBusPendingCall* pending = nullptr;
            dbus_connection_send_with_reply(rawConnection(), message, &pending, -1);
            dbus_message_unref(message);
            dbus_pending_call_set_notify(pending, &countReply, &answered, nullptr);
        }
        while (answered < InFlight && dbus_connection_read_write_dispatch(rawConnection(), -1)) {
        }
    }
    if (answered != InFlight)
        state.SkipWithError("lost replies");
}

// --- DBusDispatcher ---------------------------------------------------------

Pavane::DBusDispatcher& dispatcher()
{
    static Pavane::DBusDispatcher d(service(), QLatin1String(Path), QLatin1String(Interface));
    return d;
}

void DBusDispatcher_Call(benchmark::State& state)
{
    const Arguments& a = arguments();
    for (auto _ : state) {
        const QList<QVariant> reply =
            dispatcher().call(QStringLiteral("Echo"), a.name, a.number, a.list, a.bytes);
        if (reply.size() != 4) {
            state.SkipWithError("wrong reply");
            break;
        }
    }
}

void DBusDispatcher_Async1000(benchmark::State& state)
{
    const Arguments& a = arguments();
    int answered = 0;
    QEventLoop loop;
    QObject::connect(&dispatcher(), &Pavane::DBusDispatcher::callReply, &loop,
                     [&](const QString&, const QList<QVariant>& args, const QString& error) {
                         if (error.isNull() && args.size() == 4)
                             ++answered;
                         if (answered == InFlight)
                             loop.quit();
                     });
    for (auto _ : state) {
        answered = 0;
        for (int n = 0; n < InFlight; ++n)
            dispatcher().callAsynchronous(QStringLiteral("Echo"), a.name, a.number, a.list, a.bytes);
        loop.exec();
    }
}

// --- QtDBus -----------------------------------------------------------------

void QDBusConnection_Call(benchmark::State& state)
{
    const Arguments& a = arguments();
    QDBusConnection bus = QDBusConnection::systemBus();
    for (auto _ : state) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            service(), QLatin1String(Path), QLatin1String(Interface), QStringLiteral("Echo"));
        message << a.name << a.number << a.list << a.bytes;
        const QDBusMessage reply = bus.call(message);
        if (reply.arguments().size() != 4) {
            state.SkipWithError("wrong reply");
            break;
        }
    }
}

void QDBusInterface_Call(benchmark::State& state)
{
    const Arguments& a = arguments();
    QDBusInterface iface(service(), QLatin1String(Path), QLatin1String(Interface),
                         QDBusConnection::systemBus());
    for (auto _ : state) {
        const QDBusMessage reply = iface.call(QStringLiteral("Echo"), a.name, a.number, a.list, a.bytes);
        if (reply.arguments().size() != 4) {
            state.SkipWithError("wrong reply");
            break;
        }
    }
}

void row(const std::map<std::string, double>& medians, const char* label, const char* name,
         const char* base, double goal)
{
    const double value = medians.at(name);
    const double ratio = value / medians.at(base);
    std::printf("  %-26s %10.1f us   %5.2fx", label, value, ratio);
    if (goal > 0)
        std::printf("   (goal <= %.2fx: %s)", goal, ratio <= goal ? "met" : "MISSED");
    std::printf("\n");
}

void summary(const BenchSupport::MedianReporter::Medians& byFunction)
{
    std::map<std::string, double> medians;
    for (const auto& [name, byArgs] : byFunction)
        medians[name] = byArgs.begin()->second;
    std::printf("Medians (real time, microseconds) and ratios to raw libdbus:\n");
    row(medians, "DBusDispatcher::call", "DBusDispatcher_Call", "RawLibdbus_Call", 1.15);
    row(medians, "QDBusConnection::call", "QDBusConnection_Call", "RawLibdbus_Call", 0);
    row(medians, "QDBusInterface::call", "QDBusInterface_Call", "RawLibdbus_Call", 0);
    row(medians, "raw libdbus call", "RawLibdbus_Call", "RawLibdbus_Call", 0);
    row(medians, "1000 x callAsynchronous", "DBusDispatcher_Async1000", "RawLibdbus_Async1000", 1.3);
    row(medians, "1000 x raw pending calls", "RawLibdbus_Async1000", "RawLibdbus_Async1000", 0);
    const double call = medians.at("DBusDispatcher_Call");
    const double connection = medians.at("QDBusConnection_Call");
    const double interface = medians.at("QDBusInterface_Call");
    std::printf("DBusDispatcher::call is %s than QDBusConnection::call (%.2fx) and %s than "
                "QDBusInterface::call (%.2fx)\n",
                call < connection ? "faster" : "NOT faster", connection / call,
                call < interface ? "faster" : "NOT faster", interface / call);
}

} // namespace

BENCHMARK(RawLibdbus_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(DBusDispatcher_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(QDBusConnection_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(QDBusInterface_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(RawLibdbus_Async1000)->Apply(BenchSupport::commonSettings);
BENCHMARK(DBusDispatcher_Async1000)->Apply(BenchSupport::commonSettings);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestSupport::PeerProcess peer;
    BenchSupport::MedianReporter reporter(summary);
    return BenchSupport::run(argc, argv, [&] { return peer.start(); }, reporter);
}

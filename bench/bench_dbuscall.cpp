// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Round trips of DBusDispatcher against one echo peer, next to the same calls
// made with raw libdbus, with QDBusConnection::call and with QDBusInterface,
// all measured in this run; 1,000 asynchronous calls in flight, against
// raw libdbus pending calls; and replies of 1, 4 and 16 MiB of "ai", their
// time and the heap they take at their peak, against raw libdbus reading the
// same replies without converting them. Prints each figure and the ratios to
// raw libdbus.
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

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <malloc.h>

// The heap this process holds, counted at every allocation: each block as
// malloc's usable size plus its size word, which is what it takes of the
// heap. Every allocator entry point is replaced, so that the libraries' blocks
// (libdbus's buffers, Qt's containers) are counted alike.
namespace HeapCount {
std::atomic<long long> current{0};
std::atomic<long long> peak{0};

void* counted(void* block)
{
    if (!block)
        return block;
    const long long now = current += malloc_usable_size(block) + sizeof(size_t);
    long long high = peak.load(std::memory_order_relaxed);
    while (now > high && !peak.compare_exchange_weak(high, now, std::memory_order_relaxed)) {
    }
    return block;
}

void remove(void* block)
{
    if (block)
        current -= malloc_usable_size(block) + sizeof(size_t);
}

// The peak from now on is measured from what is held now.
long long startPeak()
{
    const long long now = current.load();
    peak.store(now);
    return now;
}
} // namespace HeapCount

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

void* malloc(size_t size) { return HeapCount::counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return HeapCount::counted(__libc_calloc(count, size)); }
void* memalign(size_t alignment, size_t size) { return HeapCount::counted(__libc_memalign(alignment, size)); }

void* realloc(void* old, size_t size)
{
    const size_t oldSize = old ? malloc_usable_size(old) + sizeof(size_t) : 0;
    void* block = __libc_realloc(old, size);
    if (block || size == 0)
        HeapCount::current -= oldSize;
    return HeapCount::counted(block);
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
void* valloc(size_t size) { return memalign(4096, size); }
void* pvalloc(size_t size) { return memalign(4096, (size + 4095) & ~size_t(4095)); }

int posix_memalign(void** result, size_t alignment, size_t size)
{
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = block;
    return 0;
}

void free(void* block)
{
    HeapCount::remove(block);
    __libc_free(block);
}
}


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

// The heap taken at the peak of a call, above what was held before it, for
// each size of "ai" reply; the largest seen over all runs.
std::map<std::string, std::map<int, long long>> peaks;

void notePeak(const char* function, int mebibytes, long long before)
{
    long long& seen = peaks[function][mebibytes];
    seen = std::max(seen, HeapCount::peak.load() - before);
}

int intsIn(int mebibytes) { return mebibytes * (1 << 20) / 4; }

void RawLibdbus_IntArray(benchmark::State& state)
{
    const int count = intsIn(int(state.range(0)));
    const QByteArray serviceName = service().toLatin1();
    for (auto _ : state) {
        const long long before = HeapCount::startPeak();
        DBusMessage* message = dbus_message_new_method_call(serviceName.constData(), Path, Interface, "Ints");
        const dbus_int32_t n = count;
        dbus_message_append_args(message, DBUS_TYPE_INT32, &n, DBUS_TYPE_INVALID);
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(rawConnection(), message, -1, nullptr);
        dbus_message_unref(message);
        DBusMessageIter iter, sub;
        const dbus_int32_t* ints = nullptr;
        int size = 0;
        if (reply && dbus_message_iter_init(reply, &iter) && dbus_message_iter_get_arg_type(&iter) == DBUS_TYPE_ARRAY) {
            dbus_message_iter_recurse(&iter, &sub);
            dbus_message_iter_get_fixed_array(&sub, &ints, &size);
        }
        if (reply)
            dbus_message_unref(reply);
        notePeak("RawLibdbus_IntArray", int(state.range(0)), before);
        if (size != count) {
            state.SkipWithError("wrong reply");
            break;
        }
    }
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

void DBusDispatcher_IntArray(benchmark::State& state)
{
    const int count = intsIn(int(state.range(0)));
    for (auto _ : state) {
        const long long before = HeapCount::startPeak();
        int size = 0;
        {
            const QList<QVariant> reply = dispatcher().call(QStringLiteral("Ints"), count);
            if (reply.size() == 1)
                size = reply.first().toList().size();
        }
        notePeak("DBusDispatcher_IntArray", int(state.range(0)), before);
        if (size != count) {
            state.SkipWithError("wrong reply");
            break;
        }
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

// A figure that a filter left out shows as nan.
double figure(const std::map<std::string, double>& medians, const char* name)
{
    const auto it = medians.find(name);
    return it == medians.end() ? std::nan("") : it->second;
}

void row(const std::map<std::string, double>& medians, const char* label, const char* name,
         const char* base, double goal)
{
    const double value = figure(medians, name);
    const double ratio = value / figure(medians, base);
    std::printf("  %-26s %10.1f us   %5.2fx", label, value, ratio);
    if (goal > 0)
        std::printf("   (goal <= %.2fx: %s)", goal, ratio <= goal ? "met" : "MISSED");
    std::printf("\n");
}

// Heap and time of "ai" replies per byte of their array, for the dispatcher
// and for raw libdbus, and what converting costs over reading the message.
void intArraySummary(const BenchSupport::MedianReporter::Medians& byFunction)
{
    if (!byFunction.count("RawLibdbus_IntArray") || !byFunction.count("DBusDispatcher_IntArray"))
        return;
    const auto& raw = byFunction.at("RawLibdbus_IntArray");
    const auto& ours = byFunction.at("DBusDispatcher_IntArray");
    std::printf("\"ai\" replies: heap at the peak per byte of array, time per MiB:\n");
    std::printf("  %6s %12s %12s %12s %14s %14s %8s\n", "size", "raw heap", "dispatcher",
                "converting", "raw time", "dispatcher", "ratio");
    for (const int mebibytes : {1, 4, 16}) {
        const std::string arg = std::to_string(mebibytes);
        const double bytes = double(mebibytes) * (1 << 20);
        const long long rawPeak = peaks["RawLibdbus_IntArray"][mebibytes];
        const long long ourPeak = peaks["DBusDispatcher_IntArray"][mebibytes];
        std::printf("  %3d MiB %11.2fx %11.2fx %11.2fx %11.0f us %11.0f us %7.2fx\n", mebibytes,
                    rawPeak / bytes, ourPeak / bytes, (ourPeak - rawPeak) / bytes,
                    raw.at(arg) / mebibytes, ours.at(arg) / mebibytes, ours.at(arg) / raw.at(arg));
    }
}

void summary(const BenchSupport::MedianReporter::Medians& byFunction)
{
    std::map<std::string, double> medians;
    for (const auto& [name, byArgs] : byFunction)
        medians[name] = byArgs.begin()->second;
    std::printf("Medians (real time, microseconds) and ratios to raw libdbus:\n");
    row(medians, "DBusDispatcher::call", "DBusDispatcher_Call", "RawLibdbus_Call", 1.1);
    row(medians, "QDBusConnection::call", "QDBusConnection_Call", "RawLibdbus_Call", 0);
    row(medians, "QDBusInterface::call", "QDBusInterface_Call", "RawLibdbus_Call", 0);
    row(medians, "raw libdbus call", "RawLibdbus_Call", "RawLibdbus_Call", 0);
    row(medians, "1000 x callAsynchronous", "DBusDispatcher_Async1000", "RawLibdbus_Async1000", 1.1);
    row(medians, "1000 x raw pending calls", "RawLibdbus_Async1000", "RawLibdbus_Async1000", 0);
    const double call = figure(medians, "DBusDispatcher_Call");
    const double connection = figure(medians, "QDBusConnection_Call");
    const double interface = figure(medians, "QDBusInterface_Call");
    std::printf("DBusDispatcher::call is %s than QDBusConnection::call (%.2fx) and %s than "
                "QDBusInterface::call (%.2fx)\n",
                call < connection ? "faster" : "NOT faster", connection / call,
                call < interface ? "faster" : "NOT faster", interface / call);
    intArraySummary(byFunction);
}

} // namespace

BENCHMARK(RawLibdbus_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(DBusDispatcher_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(QDBusConnection_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(QDBusInterface_Call)->Apply(BenchSupport::commonSettings);
BENCHMARK(RawLibdbus_Async1000)->Apply(BenchSupport::commonSettings);
BENCHMARK(DBusDispatcher_Async1000)->Apply(BenchSupport::commonSettings);
BENCHMARK(RawLibdbus_IntArray)->Arg(1)->Arg(4)->Arg(16)->Apply(BenchSupport::commonSettings);
BENCHMARK(DBusDispatcher_IntArray)->Arg(1)->Arg(4)->Arg(16)->Apply(BenchSupport::commonSettings);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestSupport::PeerProcess peer;
    BenchSupport::MedianReporter reporter(summary);
    return BenchSupport::run(argc, argv, [&] { return peer.start(); }, reporter);
}

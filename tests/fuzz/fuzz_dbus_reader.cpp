// Arbitrary bytes as a D-Bus message: whatever libdbus accepts as a message
// must read into variants without a crash or a sanitizer report.
#include "dbus/dbusmarshalling_p.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(silence), true);
    Q_UNUSED(quiet);

    DBusError error;
    dbus_error_init(&error);
    DBusMessage* message = dbus_message_demarshal(reinterpret_cast<const char*>(data), int(size), &error);
    if (!message) {
        dbus_error_free(&error);
        return 0;
    }
    const QList<QVariant> args = Pavane::readArguments(message);
    Q_UNUSED(args);
    dbus_message_unref(message);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "devmodeservice.h"

#include "devmodeinterface.h"
#include "rfkillradios.h"

#include <QDBusMessage>
#include <QDebug>

namespace {

const QString InspectPath = QStringLiteral("/com/zelkor/devmode/inspect");
const QString InspectInterface = QStringLiteral("com.zelkor.devmode.inspect");
const QString IntrospectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");

const char* const RequestXml = R"(  <interface name="com.zelkor.devmode.request">
    <method name="get_radio_states"><arg name="states" type="u" direction="out"/></method>
    <method name="req_radio_states_change">
      <arg name="states" type="u" direction="in"/>
      <arg name="mask" type="u" direction="in"/>
    </method>
  </interface>
)";

const char* const ModeXml = R"(  <interface name="com.zelkor.devmode.request">
    <method name="req_tklock_mode_change"><arg name="mode" type="s" direction="in"/></method>
    <method name="req_display_state_on"/>
  </interface>
)";

const char* const SignalXml = R"(  <interface name="com.zelkor.devmode.signal">
    <signal name="radio_states_ind"><arg name="states" type="u"/></signal>
  </interface>
)";

const char* const InspectXml = R"(  <interface name="com.zelkor.devmode.inspect">
    <method name="get_tklock_mode"><arg name="mode" type="s" direction="out"/></method>
    <method name="get_display_state"><arg name="state" type="s" direction="out"/></method>
    <method name="last_request">
      <arg name="member" type="s" direction="in"/>
      <arg name="count" type="u" direction="out"/>
      <arg name="reply_expected" type="b" direction="out"/>
      <arg name="args" type="av" direction="out"/>
    </method>
  </interface>
)";

QString hex(unsigned word)
{
    return QStringLiteral("0x%1").arg(word, 2, 16, QLatin1Char('0'));
}

bool onInterface(const QDBusMessage& message, const QString& interface)
{
    // A call may leave its interface out.
    return message.interface().isEmpty() || message.interface() == interface;
}

QDBusMessage invalidArgs(const QDBusMessage& message, const QString& expected)
{
    return message.createErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("%1 takes (%2), not (%3)").arg(message.member(), expected, message.signature()));
}

QDBusMessage unknownMethod(const QDBusMessage& message)
{
    return message.createErrorReply(
        QDBusError::UnknownMethod,
        QStringLiteral("No method %1.%2 with signature (%3) on %4")
            .arg(message.interface(), message.member(), message.signature(), message.path()));
}

} // namespace

DevModeService::DevModeService(const QDBusConnection& bus, const StateFile& stateFile,
                               const InitialState& initial, RfkillRadios* radios, QObject* parent)
    : QDBusVirtualObject(parent)
    , bus(bus)
    , stateFile(stateFile)
    , radios(radios)
    , radioStates(radios ? radios->word() : initial.radioStates & DevMode::AllRadios)
    , storedRadioStates(radios ? radios->wish() : radioStates)
    , tklockMode(initial.tklockMode)
    , displayState(initial.displayState)
{
    qInfo("radio states %s, touch-screen lock %s, display %s", qPrintable(hex(radioStates)),
          qPrintable(tklockMode), qPrintable(displayState));
    if (radios)
        connect(radios, &RfkillRadios::changed, this, &DevModeService::radiosChanged);
}

bool DevModeService::isKnownTklockMode(const QString& mode)
{
    static const QStringList modes{QStringLiteral("locked"), QStringLiteral("silent-locked"),
                                   QStringLiteral("unlocked"), QStringLiteral("silent-unlocked")};
    return modes.contains(mode);
}

QString DevModeService::introspect(const QString& path) const
{
    if (path == QLatin1String(DevMode::BasePath))
        return QString::fromLatin1(ModeXml)
            + QStringLiteral("  <node name=\"request\"/>\n  <node name=\"signal\"/>\n"
                             "  <node name=\"inspect\"/>\n");
    if (path == QLatin1String(DevMode::RequestPath))
        return QString::fromLatin1(RequestXml);
    if (path == QLatin1String(DevMode::SignalPath))
        return QString::fromLatin1(SignalXml);
    if (path == InspectPath)
        return QString::fromLatin1(InspectXml);
    return {};
}

bool DevModeService::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;

    QDBusMessage reply;
    const QString path = message.path();
    if (message.interface() == IntrospectableInterface && message.member() == QLatin1String("Introspect")) {
        reply = message.createReply(
            QStringLiteral("<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n")
            + introspect(path) + QStringLiteral("</node>\n"));
    } else if (path == QLatin1String(DevMode::RequestPath)) {
        reply = handleRadioCall(message);
    } else if (path == QLatin1String(DevMode::BasePath)) {
        reply = handleModeCall(message);
    } else if (path == InspectPath) {
        reply = handleInspectCall(message);
    } else {
        reply = message.createErrorReply(QDBusError::UnknownObject,
                                         QStringLiteral("No object at %1").arg(path));
    }
    if (message.isReplyRequired())
        bus.send(reply);
    return true;
}

QDBusMessage DevModeService::handleRadioCall(const QDBusMessage& message)
{
    const QString member = message.member();
    if (!onInterface(message, QLatin1String(DevMode::RequestInterface)))
        return unknownMethod(message);

    if (member == QLatin1String(DevMode::GetRadioStates)) {
        if (!message.signature().isEmpty())
            return invalidArgs(message, QString());
        record(message);
        return message.createReply(QVariant::fromValue(quint32(radioStates)));
    }
    if (member == QLatin1String(DevMode::ReqRadioStatesChange)) {
        if (message.signature() != QLatin1String("uu"))
            return invalidArgs(message, QStringLiteral("uu"));
        record(message);
        const QList<QVariant> args = message.arguments();
        changeRadioStates(args.at(0).toUInt(), args.at(1).toUInt(), message.service());
        return message.createReply();
    }
    return unknownMethod(message);
}

QDBusMessage DevModeService::handleModeCall(const QDBusMessage& message)
{
    const QString member = message.member();
    if (!onInterface(message, QLatin1String(DevMode::RequestInterface)))
        return unknownMethod(message);

    if (member == QLatin1String(DevMode::ReqTklockModeChange)) {
        if (message.signature() != QLatin1String("s"))
            return invalidArgs(message, QStringLiteral("s"));
        const QString mode = message.arguments().at(0).toString();
        if (!isKnownTklockMode(mode))
            return message.createErrorReply(QStringLiteral("com.zelkor.devmode.Error.UnknownMode"),
                                            QStringLiteral("Unknown touch-screen lock mode \"%1\"").arg(mode));
        record(message);
        if (mode != tklockMode) {
            qInfo("touch-screen lock %s -> %s by %s", qPrintable(tklockMode), qPrintable(mode),
                  qPrintable(message.service()));
            tklockMode = mode;
        }
        return message.createReply();
    }
    if (member == QLatin1String(DevMode::ReqDisplayStateOn)) {
        if (!message.signature().isEmpty())
            return invalidArgs(message, QString());
        record(message);
        if (displayState != QLatin1String("on")) {
            qInfo("display %s -> on by %s", qPrintable(displayState), qPrintable(message.service()));
            displayState = QStringLiteral("on");
        }
        return message.createReply();
    }
    return unknownMethod(message);
}

QDBusMessage DevModeService::handleInspectCall(const QDBusMessage& message)
{
    const QString member = message.member();
    if (!onInterface(message, InspectInterface))
        return unknownMethod(message);

    if (member == QLatin1String("get_tklock_mode") && message.signature().isEmpty())
        return message.createReply(tklockMode);
    if (member == QLatin1String("get_display_state") && message.signature().isEmpty())
        return message.createReply(displayState);
    if (member == QLatin1String("last_request")) {
        if (message.signature() != QLatin1String("s"))
            return invalidArgs(message, QStringLiteral("s"));
        // A variant list goes out as "av".
        const Received r = received.value(message.arguments().at(0).toString());
        return message.createReply({QVariant::fromValue(r.count), r.replyExpected, QVariant(r.args)});
    }
    return unknownMethod(message);
}

void DevModeService::record(const QDBusMessage& message)
{
    Received& r = received[message.member()];
    ++r.count;
    r.replyExpected = message.isReplyRequired();
    r.args = message.arguments();
}

void DevModeService::changeRadioStates(unsigned states, unsigned mask, const QString& sender)
{
    const QString cause = QStringLiteral("(states %1, mask %2) by %3").arg(hex(states), hex(mask), sender);
    if (radios) {
        radios->request(states, mask);
        takeRadioStates(radios->word(), cause);
    } else {
        takeRadioStates(((radioStates & ~mask) | (states & mask)) & DevMode::AllRadios, cause);
    }
    // Announced after every request, changed or not, so that listeners re-sync.
    announceRadioStates();
}

void DevModeService::radiosChanged()
{
    // Whoever switched, every listener hears of each change once, and of
    // events that change nothing not at all.
    const unsigned before = radioStates;
    takeRadioStates(radios->word(), QStringLiteral("by the radio switches"));
    if (radioStates != before)
        announceRadioStates();
}

void DevModeService::takeRadioStates(unsigned next, const QString& cause)
{
    if (next != radioStates) {
        qInfo("radio states %s -> %s %s", qPrintable(hex(radioStates)), qPrintable(hex(next)), qPrintable(cause));
        radioStates = next;
    }
    const unsigned toStore = radios ? radios->wish() : radioStates;
    if (toStore != storedRadioStates && stateFile.save(toStore))
        storedRadioStates = toStore;
}

void DevModeService::announceRadioStates()
{
    QDBusMessage indication = QDBusMessage::createSignal(QLatin1String(DevMode::SignalPath),
                                                         QLatin1String(DevMode::SignalInterface),
                                                         QLatin1String(DevMode::RadioStatesInd));
    indication << quint32(radioStates);
    bus.send(indication);
}

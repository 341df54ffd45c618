// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// DBusDispatcher against the test peer on the private system bus: replies,
// signals, names it must refuse, and how variants go over the bus and come
// back (the peer reports the signature that reached it, echoes what it
// received, and replies with types the dispatcher may not support).
#include <Pavane/DBusDispatcher>

#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QScopedPointer>
#include <QtTest>

#include <dbus/dbus-protocol.h>

using Pavane::DBusDispatcher;
using TestSupport::describe;
using TestSupport::list;

namespace {

const QString PeerName = QLatin1String(TestSupport::PeerProcess::ServiceName);
const QString TestPath = QStringLiteral("/com/zelkor/pavane/test");
const QString SignalPath = QStringLiteral("/com/zelkor/pavane/test/signals");
const QString TestInterface = QStringLiteral("com.zelkor.pavane.Test");
// Hosts connect by these signatures, so the spies use them too.
const char* const ReplySignal = SIGNAL(callReply(QString,QList<QVariant>,QString));
const char* const SignalSignal = SIGNAL(signalReceived(QString,QString,QList<QVariant>));
constexpr int MiB = 1 << 20;

// The peer sends the signal to the caller only.
void emitFromPeer(DBusDispatcher* asker, const QString& path, const QString& member, const QVariant& arg = {})
{
    asker->call(QStringLiteral("Emit"), path, QStringLiteral("com.zelkor.A"), member, arg);
}

// @p arrays one-element lists around @p structs structures {1, ...}, the
// innermost one being {1, innermost}.
QVariant arraysAroundStructs(int arrays, int structs, const QVariant& innermost)
{
    QVariant value = innermost;
    for (int i = 0; i < structs; ++i)
        value = list({1, value});
    for (int i = 0; i < arrays; ++i)
        value = list({value});
    return value;
}

struct ReplyRow
{
    QString service, method;
    QVariant arg1, arg2;
    QList<QVariant> args;
    QString error;
};

} // namespace

Q_DECLARE_METATYPE(ReplyRow)

class TestDBusDispatcher : public QObject
{
    Q_OBJECT

private:
    TestSupport::PeerProcess peer;
    DBusDispatcher* dispatcher = nullptr;

    QString signatureOf(const QVariant& a, const QVariant& b = {}, const QVariant& c = {})
    {
        const QList<QVariant> reply = dispatcher->call(QStringLiteral("Signature"), a, b, c);
        return reply.size() == 1 ? reply.first().toString() : QStringLiteral("<no reply>");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(peer.start());
        dispatcher = new DBusDispatcher(PeerName, TestPath, TestInterface, SignalPath, this);
    }

    // Blocking and asynchronous calls alike; a failed blocking call gives an
    // empty list, quietly, and the asynchronous one names the error.
    void replies_data()
    {
        QTest::addColumn<ReplyRow>("row");
        const QStringList names{QStringLiteral("home"), QStringLiteral("office")};
        QTest::newRow("arguments") << ReplyRow{PeerName, "Echo", names, 42, {names, 42}, QString()};
        QTest::newRow("no arguments") << ReplyRow{PeerName, "Return", "nothing", {}, {}, QString()};
        QTest::newRow("error reply") << ReplyRow{PeerName, "Fail", "com.zelkor.Error.Boom", "boom", {},
                                                 "com.zelkor.Error.Boom"};
        QTest::newRow("missing service") << ReplyRow{"com.zelkor.pavane.Nobody", "Echo", 1, {}, {},
                                                     "org.freedesktop.DBus.Error.ServiceUnknown"};
    }

    void replies()
    {
        QFETCH(ReplyRow, row);
        DBusDispatcher target(row.service, TestPath, TestInterface);
        TestSupport::MessageLog log;
        QCOMPARE(describe(target.call(row.method, row.arg1, row.arg2)), describe(row.args));

        QSignalSpy replies(&target, ReplySignal);
        QVERIFY(target.callAsynchronous(row.method, row.arg1, row.arg2));
        // Whatever synchronousDispatch reads, the signal waits for the event
        // loop: it must never be emitted from inside a libdbus callback.
        for (int i = 0; i < 3; ++i)
            QVERIFY(target.synchronousDispatch(100));
        QCOMPARE(replies.count(), 0);
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(replies.at(0).at(0).toString(), row.method);
        QCOMPARE(describe(replies.at(0).at(1).toList()), describe(row.args));
        QCOMPARE(replies.at(0).at(2).toString(), row.error);
        QCOMPARE(replies.at(0).at(2).toString().isNull(), row.error.isNull());
        QCOMPARE(log.messages(), QStringList());
    }

    // A receiver may delete the dispatcher from inside either signal; what is
    // still queued or in flight for it then goes nowhere, also the reply to a
    // call that is answered only after it is gone.
    void receiverDeletesTheDispatcher_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("replies") << "Echo";
        QTest::newRow("signals") << "Emit";
        QTest::newRow("deprecated reply") << "emitCallReply";
        QTest::newRow("deprecated signal") << "emitSignalReceived";
        QTest::newRow("destruction, no receiver") << "";
    }

    void receiverDeletesTheDispatcher()
    {
        QFETCH(QString, trigger);
        QPointer<DBusDispatcher> doomed(new DBusDispatcher(PeerName, TestPath, TestInterface, SignalPath));
        int emissions = 0;
        const auto deleteIt = [&] { ++emissions; delete doomed.data(); };
        const auto countLater = [&] { ++emissions; };
        if (!trigger.isEmpty()) {
            connect(doomed.data(), &DBusDispatcher::callReply, this, deleteIt);
            connect(doomed.data(), &DBusDispatcher::signalReceived, this, deleteIt);
        }
        connect(doomed.data(), &DBusDispatcher::callReply, this, countLater);
        connect(doomed.data(), &DBusDispatcher::signalReceived, this, countLater);
        QVERIFY(doomed->callAsynchronous(QStringLiteral("Hold"), QStringLiteral("late")));

        if (trigger.isEmpty()) {
            // A reply read and queued, but not yet delivered.
            QVERIFY(doomed->callAsynchronous(QStringLiteral("Echo"), 1));
            for (int i = 0; i < 5; ++i)
                doomed->synchronousDispatch(100);
            delete doomed.data();
// Deprecated, and still kept working for the hosts that call them.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
        } else if (trigger == QLatin1String("emitCallReply")) {
            QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitCallReply() is DEPRECATED, don't use!");
            doomed->emitCallReply(QStringLiteral("m"), {}, QString());
        } else if (trigger == QLatin1String("emitSignalReceived")) {
            QTest::ignoreMessage(QtWarningMsg, "DBusDispatcher::emitSignalReceived() is DEPRECATED, don't use!");
            doomed->emitSignalReceived(QStringLiteral("i"), QStringLiteral("s"), {});
QT_WARNING_POP
        } else if (trigger == QLatin1String("Emit")) {
            emitFromPeer(doomed, SignalPath, QStringLiteral("First"));
            emitFromPeer(doomed, SignalPath, QStringLiteral("Second"));
        } else {
            for (int i = 0; i < 2; ++i)
                QVERIFY(doomed->callAsynchronous(trigger, QStringLiteral("com.zelkor.Error.E%1").arg(i), i));
        }
        QTRY_VERIFY(doomed.isNull());
        QCOMPARE(dispatcher->call(QStringLiteral("Release"), QStringLiteral("late")), QList<QVariant>());
        QCOMPARE(dispatcher->call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QTest::qWait(50);
        QCOMPARE(emissions, trigger.isEmpty() ? 0 : 1);
    }

    // Replies read together are handed on together, in order of arrival; a
    // receiver deleting the dispatcher among them ends the rest. Calls nobody
    // answers still get libdbus's time-out error (after 25 s) amid them.
    void manyRepliesAtOnce_data()
    {
        QTest::addColumn<int>("deleteAt");
        QTest::addColumn<int>("unanswered");
        QTest::newRow("receiver deletes the dispatcher midway") << 150 << 0;
        QTest::newRow("some time out") << 0 << 4;
    }

    void manyRepliesAtOnce()
    {
        QFETCH(int, deleteAt);
        QFETCH(int, unanswered);
        QPointer<DBusDispatcher> target(new DBusDispatcher(PeerName, TestPath, TestInterface, this));
        QList<QVariant> arrived, expected;
        connect(target.data(), &DBusDispatcher::callReply, this, [&](const QString& method, const QList<QVariant>& args, const QString& error) {
            arrived.append(error.isNull() ? args.value(0) : QVariant(method + ' ' + error));
            if (arrived.size() == deleteAt)
                delete target.data();
        });
        for (int i = 0; i < 300; ++i) {
            const bool held = i % 75 < unanswered;
            QVERIFY(target->callAsynchronous(held ? "Hold" : "Echo", QStringLiteral("many%1").arg(i)));
            if (!held && (!deleteAt || expected.size() < deleteAt))
                expected.append(QStringLiteral("many%1").arg(i));
        }
        expected += QVector<QVariant>(unanswered * 4, QStringLiteral("Hold org.freedesktop.DBus.Error.NoReply")).toList();
        // Returns once every reply sent before its own has been read.
        QCOMPARE(target->call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
        QTRY_COMPARE_WITH_TIMEOUT(arrived.size(), expected.size(), 40000);
        QCOMPARE(describe(arrived), describe(expected));
        QCOMPARE(target.isNull(), deleteAt > 0);
    }

    // An "ai" arrives whole, as one list of ints, however long, by either call.
    void intArrays()
    {
        for (const int count : {0, MiB}) {
            QSignalSpy replies(dispatcher, ReplySignal);
            QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Ints"), count));
            QTRY_COMPARE(replies.count(), 1);
            for (const QList<QVariant>& reply : {dispatcher->call(QStringLiteral("Ints"), count), replies.at(0).at(1).toList()}) {
                QCOMPARE(reply.value(0).type(), QVariant::List);
                QCOMPARE(reply.first().toList().size(), count);
                for (const int i : {0, count / 3, count - 1})
                    QCOMPARE(describe(reply.first().toList().value(i)), describe(count ? QVariant(i - count / 2) : QVariant()));
            }
        }
    }

    void signalsOnTheSignalPathOnly()
    {
        QSignalSpy received(dispatcher, SignalSignal);
        emitFromPeer(dispatcher, SignalPath, QStringLiteral("Ping"), QStringList{QStringLiteral("x")});
        emitFromPeer(dispatcher, QStringLiteral("/elsewhere"), QStringLiteral("Lost"));
        emitFromPeer(dispatcher, TestPath, QStringLiteral("Lost"));
        emitFromPeer(dispatcher, SignalPath, QStringLiteral("Pong"));
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(describe(received.at(0)), describe((QList<QVariant>{"com.zelkor.A", "Ping", list({QStringList{"x"}})})));
        QCOMPARE(describe(received.at(1)), describe((QList<QVariant>{"com.zelkor.A", "Pong", list({})})));

        // Method calls to the signal path are not swallowed: their callers
        // would wait for a reply that never comes.
        const QString self = dispatcher->call(QStringLiteral("WhoAmI")).value(0).toString();
        const QDBusMessage poke = QDBusMessage::createMethodCall(
            self, SignalPath, QStringLiteral("com.zelkor.A"), QStringLiteral("Poke"));
        QDBusPendingCallWatcher watcher(QDBusConnection::systemBus().asyncCall(poke));
        QTRY_VERIFY(watcher.isFinished());
        QCOMPARE(watcher.error().type(), QDBusError::UnknownMethod);
        QCOMPARE(received.count(), 2);
    }

    // Malformed names would make libdbus abort the host; they are refused
    // with a warning instead, and nothing goes out. The protocol allows a
    // call without interface, and a bad signal path only costs the signals.
    void names_data()
    {
        QTest::addColumn<QStringList>("names"); // service, path, interface, method
        QTest::addColumn<QString>("warning");
        const QString invalid = QStringLiteral("invalid D-Bus name");
        QTest::newRow("service without dot") << QStringList{"nodot", TestPath, TestInterface, "Echo"} << invalid;
        QTest::newRow("relative path") << QStringList{PeerName, "com/zelkor", TestInterface, "Echo"} << invalid;
        QTest::newRow("interface with dash") << QStringList{PeerName, TestPath, "com.zel-kor", "Echo"} << invalid;
        QTest::newRow("method with NUL") << QStringList{PeerName, TestPath, TestInterface, QString::fromLatin1("Echo\0x", 6)}
                                         << invalid;
        QTest::newRow("no interface") << QStringList{PeerName, TestPath, "", "Echo"} << QString();
    }

    void names()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, warning);
        DBusDispatcher target(names[0], names[1], names[2], SignalPath);
        QSignalSpy replies(&target, ReplySignal);
        for (int i = 0; !warning.isEmpty() && i < 2; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QCOMPARE(target.call(names[3], 1), warning.isEmpty() ? QList<QVariant>{1} : QList<QVariant>());
        QCOMPARE(target.callAsynchronous(names[3], 1), warning.isEmpty());
        QTRY_COMPARE(replies.count(), warning.isEmpty() ? 1 : 0);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("invalid signal path")));
        DBusDispatcher noSignals(PeerName, TestPath, TestInterface, QStringLiteral("not/a/path"));
        QCOMPARE(noSignals.call(QStringLiteral("Echo"), 1), QList<QVariant>{1});
    }

    // An invalid "echoed" means the value comes back as it went.
    void outgoing_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QVariant>("echoed");
        QByteArray allBytes;
        for (int i = 0; i < 256; ++i)
            allBytes.append(char(i));
        const QStringList strings{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("scalars") << list({true, -5, 4000000000u, qlonglong(-1099511627776), ~qulonglong(0), QChar('A'),
                                          QStringLiteral("Grüße ✓")})
                                 << "(biuxtys)" << QVariant();
        QTest::newRow("lone surrogate") << QVariant(QString(QChar(0xd800))) << "s" << QVariant("?");
        QTest::newRow("string lists and byte arrays") << list({strings, QStringList(), allBytes, QByteArray()})
                                                      << "(asasayay)" << QVariant();
        QTest::newRow("strings as list") << list({"a", "b"}) << "as" << QVariant(strings);
        QTest::newRow("arrays of arrays") << list({list({1, 2}), list({3, 4, 5})}) << "aai" << QVariant();
        QTest::newRow("arrays of numbers") << list({0, list({true, false}), list({-1, 2}), list({1u}), list({qlonglong(-3)}),
                                                    list({~qulonglong(0)})}) << "(iabaiauaxat)" << QVariant();
        QTest::newRow("array of structs") << list({list({1, "a"}), list({2, "b"})}) << "a(is)" << QVariant();
        QTest::newRow("nested struct") << list({true, list({1, "x"})}) << "(b(is))" << QVariant();
        QTest::newRow("struct field that cannot be sent") << list({1, 2.5, "x"}) << "(is)" << list({1, "x"});
        // The protocol allows 32 nested arrays, and 32 structures inside
        // them; a list in the innermost one would be a 33rd array, so that
        // field alone is left out.
        QTest::newRow("deepest nesting") << arraysAroundStructs(32, 0, 1) << QString(32, 'a') + "i" << QVariant();
        QTest::newRow("deepest structures in deepest arrays")
            << arraysAroundStructs(32, 32, list({2}))
            << QString(32, 'a') + QStringLiteral("(i").repeated(32) + QString(32, ')')
            << arraysAroundStructs(32, 31, list({1}));
    }

    void outgoing()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, signature);
        QFETCH(QVariant, echoed);
        QCOMPARE(signatureOf(value), signature);
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), value)),
                 describe(QList<QVariant>{echoed.isValid() ? echoed : value}));
    }

    // Values that cannot be sent are left out, and the arguments around them
    // still go, in order. Several of these would make libdbus abort the
    // process if they reached it. An invalid variant is skipped quietly.
    void unsupportedArgumentsAreLeftOut_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("typeName");
        QTest::newRow("invalid") << QVariant() << QString();
        QTest::newRow("double") << QVariant(1.5) << "double";
        QTest::newRow("map") << QVariant(QVariantMap{{"k", 1}}) << "QVariantMap";
        QTest::newRow("user type") << QVariant::fromValue(short(3)) << "short";
        QTest::newRow("empty list") << list({}) << "QVariantList";
        QTest::newRow("arrays of different shapes") << list({list({1, 2}), list({3, "x"})}) << "QVariantList";
        QTest::newRow("nested too deep") << arraysAroundStructs(40, 0, 1) << "QVariantList";
        // Beyond the protocol's limits the bus would drop the connection.
        QTest::newRow("byte array beyond the array limit")
            << QVariant(QByteArray(DBUS_MAXIMUM_ARRAY_LENGTH + 1, 'x')) << "QByteArray";
        QStringList strings;
        for (int i = 0; i < 64; ++i)
            strings.append(QString(MiB, 'x'));
        QTest::newRow("strings beyond the array limit") << QVariant(strings) << "QStringList";
        const QByteArray bytes(33 * MiB, 'x');
        QTest::newRow("byte arrays beyond the array limit") << list({bytes, bytes}) << "QVariantList";
        const QByteArray third(45 * MiB, 'x');
        QTest::newRow("byte arrays beyond the message limit") << list({third, third, third, 1}) << "QVariantList";
        QTest::newRow("string beyond the message limit") << QVariant(QString(150 * MiB, 'x')) << "QString";
    }

    void unsupportedArgumentsAreLeftOut()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, typeName);
        const QString expected = "Unsupported variant type: QVariant::" + typeName;
        TestSupport::MessageLog log;
        QCOMPARE(signatureOf(1, value, "end"), QStringLiteral("is"));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, value, "end")), describe((QList<QVariant>{1, "end"})));
        QCOMPARE(log.messages(QtDebugMsg), (typeName.isEmpty() ? QStringList() : QStringList{expected, expected}));
    }

    // All eight arguments, or none; and a signature stays within the 255
    // characters a message may carry: each argument here is a 42-character
    // signature, so the last two of eight are left out.
    void argumentCountAndSignatureLimit()
    {
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, 2, 3, 4, 5, 6, 7, 8)),
                 describe((QList<QVariant>{1, 2, 3, 4, 5, 6, 7, 8})));
        QCOMPARE(dispatcher->call(QStringLiteral("Signature")), QList<QVariant>{QString()});
        QList<QVariant> fields;
        for (int i = 0; i < 39; ++i)
            fields.append(i);
        fields.append(QStringLiteral("end"));
        const QVariant wide(fields);
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::QVariantList");
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::QVariantList");
        QCOMPARE(dispatcher->call(QStringLiteral("Signature"), wide, wide, wide, wide, wide, wide, wide, wide),
                 QList<QVariant>{QStringLiteral("(%1s)").arg(QString(39, 'i')).repeated(6)});
    }

    void incoming_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QStringList>("messages");
        const QString unsupported = QStringLiteral("Unsupported DBUS type: %1");
        QTest::newRow("byte is a char") << "byte" << list({QChar('A')}) << QStringList();
        QTest::newRow("variant") << "variant" << list({QVariant()}) << QStringList{unsupported.arg(DBUS_TYPE_VARIANT)};
        QTest::newRow("dictionary") << "dict" << list({list({QVariant(), QVariant()})})
                                    << QStringList{unsupported.arg(101), unsupported.arg(101)};
        // 7, a double, "after": one entry per argument.
        QTest::newRow("one entry per argument") << "mixed" << list({7, QVariant(), "after"})
                                                << QStringList{unsupported.arg(DBUS_TYPE_DOUBLE)};
    }

    void incoming()
    {
        QFETCH(QString, kind);
        QFETCH(QVariant, expected);
        QFETCH(QStringList, messages);
        TestSupport::MessageLog log;
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Return"), kind)), describe(expected.toList()));
        QCOMPARE(log.messages(QtDebugMsg), messages);
    }
};

QTEST_GUILESS_MAIN(TestDBusDispatcher)
#include "tst_dbusdispatcher.moc"

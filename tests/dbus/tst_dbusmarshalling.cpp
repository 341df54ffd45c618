// How variants go over the bus and come back, seen through the dispatcher
// against the test peer: the peer reports the signature that reached it,
// echoes what it received, and replies with types the dispatcher may not
// support.
#include <Pavane/DBusDispatcher>

#include "testsupport.h"

#include <QDateTime>
#include <QPoint>
#include <QtTest>

#include <dbus/dbus-protocol.h>

using Pavane::DBusDispatcher;
using TestSupport::describe;

namespace {

QVariant list(std::initializer_list<QVariant> values)
{
    return QVariant(QList<QVariant>(values));
}

QVariant nestedList(int depth)
{
    QVariant value(1);
    for (int i = 0; i < depth; ++i)
        value = list({value});
    return value;
}

} // namespace

class TestDBusMarshalling : public QObject
{
    Q_OBJECT

private:
    TestSupport::PeerProcess peer;
    DBusDispatcher* dispatcher = nullptr;

    QString signatureOf(const QVariant& a, const QVariant& b = QVariant(),
                        const QVariant& c = QVariant())
    {
        const QList<QVariant> reply = dispatcher->call(QStringLiteral("Signature"), a, b, c);
        return reply.size() == 1 ? reply.first().toString() : QStringLiteral("<no reply>");
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(peer.start());
        dispatcher = new DBusDispatcher(QLatin1String(TestSupport::PeerProcess::ServiceName),
                                        QStringLiteral("/com/zelkor/pavane/test"),
                                        QStringLiteral("com.zelkor.pavane.Test"), this);
    }

    void outgoing_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QVariant>("echoed");

        const QByteArray allBytes = [] {
            QByteArray bytes;
            for (int i = 0; i < 256; ++i)
                bytes.append(char(i));
            return bytes;
        }();
        const QStringList strings{QStringLiteral("a"), QStringLiteral("b")};

        QTest::newRow("true") << QVariant(true) << "b" << QVariant(true);
        QTest::newRow("false") << QVariant(false) << "b" << QVariant(false);
        QTest::newRow("int") << QVariant(-5) << "i" << QVariant(-5);
        QTest::newRow("uint") << QVariant(4000000000u) << "u" << QVariant(4000000000u);
        QTest::newRow("int64") << QVariant(qlonglong(-1099511627776)) << "x" << QVariant(qlonglong(-1099511627776));
        QTest::newRow("uint64") << QVariant(~qulonglong(0)) << "t" << QVariant(~qulonglong(0));
        QTest::newRow("char is a byte") << QVariant(QChar('A')) << "y" << QVariant(QChar('A'));
        QTest::newRow("string") << QVariant(QStringLiteral("Grüße ✓"))
                                << "s" << QVariant(QStringLiteral("Grüße ✓"));
        QTest::newRow("lone surrogate") << QVariant(QString(QChar(0xd800)))
                                        << "s" << QVariant(QStringLiteral("?"));
        QTest::newRow("string list") << QVariant(strings) << "as" << QVariant(strings);
        QTest::newRow("empty string list") << QVariant(QStringList()) << "as" << QVariant(QStringList());
        QTest::newRow("byte array") << QVariant(allBytes) << "ay" << QVariant(allBytes);
        QTest::newRow("empty byte array") << QVariant(QByteArray()) << "ay" << QVariant(QByteArray());
        QTest::newRow("ints") << list({1, 2, 3}) << "ai" << list({1, 2, 3});
        QTest::newRow("one int") << list({5}) << "ai" << list({5});
        QTest::newRow("strings as list") << list({"a", "b"}) << "as" << QVariant(strings);
        QTest::newRow("int and string") << list({1, "x"}) << "(is)" << list({1, "x"});
        QTest::newRow("int and uint") << list({1, 2u}) << "(iu)" << list({1, 2u});
        QTest::newRow("arrays of arrays") << list({list({1, 2}), list({3, 4, 5})})
                                          << "aai" << list({list({1, 2}), list({3, 4, 5})});
        QTest::newRow("array of structs") << list({list({1, "a"}), list({2, "b"})})
                                          << "a(is)" << list({list({1, "a"}), list({2, "b"})});
        QTest::newRow("array of string lists") << list({QStringList{"x"}, QStringList{"y", "z"}})
                                               << "aas"
                                               << list({QStringList{"x"}, QStringList{"y", "z"}});
        QTest::newRow("nested struct") << list({true, list({1, "x"})})
                                       << "(b(is))" << list({true, list({1, "x"})});
        QTest::newRow("array of byte arrays") << list({QByteArray("ab"), QByteArray()})
                                              << "aay" << list({QByteArray("ab"), QByteArray()});
    }

    void outgoing()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, signature);
        QFETCH(QVariant, echoed);
        QCOMPARE(signatureOf(value), signature);
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), value)),
                 describe(QList<QVariant>{echoed}));
    }

    void structFieldsThatCannotBeSentAreLeftOut()
    {
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::double");
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::double");
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), list({1, 2.5, "x"}))),
                 describe(QList<QVariant>{list({1, "x"})}));
        QCOMPARE(signatureOf(list({1, 2.5, "x"})), QStringLiteral("(is)"));
    }

    // Values that cannot be sent are left out, and the arguments around them
    // still go, in order. Several of these would make libdbus abort the
    // process if they reached it.
    void unsupportedArgumentsAreLeftOut_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("typeName");

        QTest::newRow("double") << QVariant(1.5) << "double";
        QTest::newRow("map") << QVariant(QVariantMap{{"k", 1}}) << "QVariantMap";
        QTest::newRow("date") << QVariant(QDateTime::currentDateTimeUtc()) << "QDateTime";
        QTest::newRow("point") << QVariant(QPoint(1, 2)) << "QPoint";
        QTest::newRow("user type") << QVariant::fromValue(short(3)) << "short";
        QTest::newRow("empty list") << QVariant(QList<QVariant>()) << "QVariantList";
        QTest::newRow("arrays of different shapes") << list({list({1, 2}), list({3, "x"})})
                                                    << "QVariantList";
        QTest::newRow("doubles") << list({1.5, 2.5}) << "QVariantList";
        QTest::newRow("empty lists") << list({list({}), list({})}) << "QVariantList";
        QTest::newRow("struct of nothing sendable") << list({1.5, QPoint()}) << "QVariantList";
        QTest::newRow("nested too deep") << nestedList(40) << "QVariantList";
        QTest::newRow("byte array beyond the array limit")
            << QVariant(QByteArray(DBUS_MAXIMUM_ARRAY_LENGTH + 1, 'x')) << "QByteArray";
    }

    void unsupportedArgumentsAreLeftOut()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, typeName);
        const QByteArray expected = "Unsupported variant type: QVariant::" + typeName.toLatin1();
        QTest::ignoreMessage(QtDebugMsg, expected.constData());
        QCOMPARE(signatureOf(1, value, "end"), QStringLiteral("is"));
        QTest::ignoreMessage(QtDebugMsg, expected.constData());
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, value, "end")),
                 describe(QList<QVariant>{1, "end"}));
    }

    void deepestSendableNesting()
    {
        // The protocol allows 32 nested arrays.
        QCOMPARE(signatureOf(nestedList(32)), QString(32, QLatin1Char('a')) + QLatin1Char('i'));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), nestedList(32))),
                 describe(QList<QVariant>{nestedList(32)}));
    }

    void messageSignatureStaysWithinTheProtocolLimit()
    {
        // Each argument is a 42-character signature; eight would make 336,
        // over the 255 a message may carry, so the last two are left out.
        QList<QVariant> fields;
        for (int i = 0; i < 39; ++i)
            fields.append(i);
        fields.append(QStringLiteral("end"));
        const QVariant wide(fields);
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::QVariantList");
        QTest::ignoreMessage(QtDebugMsg, "Unsupported variant type: QVariant::QVariantList");
        const QList<QVariant> reply = dispatcher->call(QStringLiteral("Signature"), wide, wide, wide,
                                                       wide, wide, wide, wide, wide);
        QCOMPARE(reply.size(), 1);
        QCOMPARE(reply.first().toString(), QStringLiteral("(%1s)").arg(QString(39, 'i')).repeated(6));
    }

    void invalidArgumentsAreSkippedWhereverTheyStand()
    {
        QCOMPARE(signatureOf(QVariant(), 5), QStringLiteral("i"));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), QVariant(), 5)),
                 describe(QList<QVariant>{5}));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, QVariant(), QVariant(), 2)),
                 describe(QList<QVariant>{1, 2}));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, 2, 3, 4, 5, 6, 7, 8)),
                 describe(QList<QVariant>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(dispatcher->call(QStringLiteral("Signature")),
                 QList<QVariant>{QString()});
    }

    void incoming_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QStringList>("messages");

        const QString unsupported = QStringLiteral("Unsupported DBUS type: %1");
        QTest::newRow("boolean 0") << "bool-false" << list({false}) << QStringList();
        QTest::newRow("byte is a char") << "byte" << list({QChar('A')}) << QStringList();
        QTest::newRow("double") << "double" << list({QVariant()})
                                << QStringList{unsupported.arg(DBUS_TYPE_DOUBLE)};
        QTest::newRow("int16") << "int16" << list({QVariant()})
                               << QStringList{unsupported.arg(DBUS_TYPE_INT16)};
        QTest::newRow("uint16") << "uint16" << list({QVariant()})
                                << QStringList{unsupported.arg(DBUS_TYPE_UINT16)};
        QTest::newRow("object path") << "object-path" << list({QVariant()})
                                     << QStringList{unsupported.arg(DBUS_TYPE_OBJECT_PATH)};
        QTest::newRow("signature") << "signature" << list({QVariant()})
                                   << QStringList{unsupported.arg(DBUS_TYPE_SIGNATURE)};
        QTest::newRow("variant") << "variant" << list({QVariant()})
                                 << QStringList{unsupported.arg(DBUS_TYPE_VARIANT)};
        QTest::newRow("dictionary") << "dict" << list({list({QVariant(), QVariant()})})
                                    << QStringList{unsupported.arg(101), unsupported.arg(101)};
        QTest::newRow("empty int array") << "empty-int-array" << list({list({})}) << QStringList();
        QTest::newRow("empty byte array") << "empty-byte-array" << list({QByteArray()})
                                          << QStringList();
        QTest::newRow("empty string array") << "empty-string-array" << list({QStringList()})
                                            << QStringList();
        QTest::newRow("one entry per argument") << "mixed"
                                                << list({7, QVariant(), QStringLiteral("after")})
                                                << QStringList{unsupported.arg(DBUS_TYPE_DOUBLE)};
        QTest::newRow("no arguments") << "nothing" << list({}) << QStringList();
    }

    void incoming()
    {
        QFETCH(QString, kind);
        QFETCH(QVariant, expected);
        QFETCH(QStringList, messages);
        TestSupport::MessageLog log;
        const QList<QVariant> reply = dispatcher->call(QStringLiteral("Return"), kind);
        QCOMPARE(describe(reply), describe(expected.toList()));
        QCOMPARE(log.messages(QtDebugMsg), messages);
    }

    void asynchronousRepliesConvertTheSameWay()
    {
        QSignalSpy replies(dispatcher, SIGNAL(callReply(QString,QList<QVariant>,QString)));
        QTest::ignoreMessage(QtDebugMsg, "Unsupported DBUS type: 100");
        QVERIFY(dispatcher->callAsynchronous(QStringLiteral("Return"), QStringLiteral("mixed")));
        QTRY_COMPARE(replies.count(), 1);
        QCOMPARE(describe(replies.at(0).at(1)),
                 describe(list({7, QVariant(), QStringLiteral("after")})));
    }
};

QTEST_GUILESS_MAIN(TestDBusMarshalling)
#include "tst_dbusmarshalling.moc"

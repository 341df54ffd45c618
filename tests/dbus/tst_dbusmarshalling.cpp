// How variants go over the bus and come back, seen through the dispatcher
// against the test peer: the peer reports the signature that reached it,
// echoes what it received, and replies with types the dispatcher may not
// support.
#include <Pavane/DBusDispatcher>

#include "testsupport.h"

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

constexpr int MiB = 1 << 20;

} // namespace

class TestDBusMarshalling : public QObject
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
        const QString problem = TestSupport::environmentProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(peer.start());
        dispatcher = new DBusDispatcher(QLatin1String(TestSupport::PeerProcess::ServiceName),
                                        QStringLiteral("/com/zelkor/pavane/test"),
                                        QStringLiteral("com.zelkor.pavane.Test"), this);
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

        QTest::newRow("bool") << QVariant(true) << "b" << QVariant();
        QTest::newRow("int") << QVariant(-5) << "i" << QVariant();
        QTest::newRow("uint") << QVariant(4000000000u) << "u" << QVariant();
        QTest::newRow("int64") << QVariant(qlonglong(-1099511627776)) << "x" << QVariant();
        QTest::newRow("uint64") << QVariant(~qulonglong(0)) << "t" << QVariant();
        QTest::newRow("char is a byte") << QVariant(QChar('A')) << "y" << QVariant();
        QTest::newRow("string") << QVariant(QStringLiteral("Grüße ✓")) << "s" << QVariant();
        QTest::newRow("lone surrogate") << QVariant(QString(QChar(0xd800))) << "s" << QVariant("?");
        QTest::newRow("string list") << QVariant(strings) << "as" << QVariant();
        QTest::newRow("empty string list") << QVariant(QStringList()) << "as" << QVariant();
        QTest::newRow("byte array") << QVariant(allBytes) << "ay" << QVariant();
        QTest::newRow("empty byte array") << QVariant(QByteArray()) << "ay" << QVariant();
        QTest::newRow("ints") << list({1, 2, 3}) << "ai" << QVariant();
        QTest::newRow("strings as list") << list({"a", "b"}) << "as" << QVariant(strings);
        QTest::newRow("int and string") << list({1, "x"}) << "(is)" << QVariant();
        QTest::newRow("arrays of arrays") << list({list({1, 2}), list({3, 4, 5})}) << "aai" << QVariant();
        QTest::newRow("array of structs") << list({list({1, "a"}), list({2, "b"})}) << "a(is)" << QVariant();
        QTest::newRow("nested struct") << list({true, list({1, "x"})}) << "(b(is))" << QVariant();
        QTest::newRow("array of byte arrays") << list({QByteArray("ab"), QByteArray()}) << "aay" << QVariant();
        // The protocol allows 32 nested arrays; one more is refused below.
        QTest::newRow("deepest nesting") << nestedList(32) << QString(32, 'a') + "i" << QVariant();
        // And 32 structures inside them; a list in the innermost one would be
        // a 33rd array, so that field alone is left out.
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
    // process if they reached it. An invalid variant is skipped quietly.
    void unsupportedArgumentsAreLeftOut_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("typeName");

        QTest::newRow("invalid") << QVariant() << QString();
        QTest::newRow("double") << QVariant(1.5) << "double";
        QTest::newRow("map") << QVariant(QVariantMap{{"k", 1}}) << "QVariantMap";
        QTest::newRow("user type") << QVariant::fromValue(short(3)) << "short";
        QTest::newRow("empty list") << QVariant(QList<QVariant>()) << "QVariantList";
        QTest::newRow("arrays of different shapes") << list({list({1, 2}), list({3, "x"})}) << "QVariantList";
        QTest::newRow("doubles") << list({1.5, 2.5}) << "QVariantList";
        QTest::newRow("empty lists") << list({list({}), list({})}) << "QVariantList";
        QTest::newRow("struct of nothing sendable") << list({1.5, QPoint()}) << "QVariantList";
        QTest::newRow("nested too deep") << nestedList(40) << "QVariantList";
        // Beyond the protocol's limits the bus would drop the connection.
        QTest::newRow("byte array beyond the array limit")
            << QVariant(QByteArray(DBUS_MAXIMUM_ARRAY_LENGTH + 1, 'x')) << "QByteArray";
        const QString megabyte(MiB, 'x');
        QStringList strings;
        for (int i = 0; i < 64; ++i)
            strings.append(megabyte);
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
        const QByteArray expected = "Unsupported variant type: QVariant::" + typeName.toLatin1();
        TestSupport::MessageLog log;
        QCOMPARE(signatureOf(1, value, "end"), QStringLiteral("is"));
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, value, "end")),
                 describe(QList<QVariant>{1, "end"}));
        const QStringList messages = typeName.isEmpty() ? QStringList() : QStringList{expected, expected};
        QCOMPARE(log.messages(QtDebugMsg), messages);
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

    void allEightArgumentsOrNone()
    {
        QCOMPARE(describe(dispatcher->call(QStringLiteral("Echo"), 1, 2, 3, 4, 5, 6, 7, 8)),
                 describe(QList<QVariant>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(dispatcher->call(QStringLiteral("Signature")), QList<QVariant>{QString()});
    }

    void incoming_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QStringList>("messages");

        const QString unsupported = QStringLiteral("Unsupported DBUS type: %1");
        QTest::newRow("boolean 0") << "bool-false" << list({false}) << QStringList();
        QTest::newRow("byte is a char") << "byte" << list({QChar('A')}) << QStringList();
        QTest::newRow("variant") << "variant" << list({QVariant()})
                                 << QStringList{unsupported.arg(DBUS_TYPE_VARIANT)};
        QTest::newRow("dictionary") << "dict" << list({list({QVariant(), QVariant()})})
                                    << QStringList{unsupported.arg(101), unsupported.arg(101)};
        QTest::newRow("empty int array") << "empty-int-array" << list({list({})}) << QStringList();
        QTest::newRow("empty byte array") << "empty-byte-array" << list({QByteArray()}) << QStringList();
        QTest::newRow("empty string array") << "empty-string-array" << list({QStringList()}) << QStringList();
        // 7, a double, "after"
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

QTEST_GUILESS_MAIN(TestDBusMarshalling)
#include "tst_dbusmarshalling.moc"

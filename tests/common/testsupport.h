#ifndef PAVANE_TESTS_TESTSUPPORT_H
#define PAVANE_TESTS_TESTSUPPORT_H

// Shared pieces of the test suites: the guard that keeps tests off the
// machine's own buses, the test peer process, a log of Qt messages, and a
// typed description of variants for exact comparisons.

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace TestSupport {

// Empty when the process runs on the private buses of with-private-buses and
// the Qt event loop runs on GLib; otherwise why not.
QString environmentProblem();

// The peer service of tests/peer, started on the private system bus.
class PeerProcess
{
public:
    static const char* const ServiceName;

    ~PeerProcess();
    // Starts the peer and waits until it owns its name.
    bool start(const QStringList& arguments = {});
    qint64 pid() const { return process.processId(); }

private:
    QProcess process;
};

// Records every Qt message while it lives, and still passes them on, so that
// QTest::ignoreMessage keeps working.
class MessageLog
{
public:
    MessageLog();
    ~MessageLog();
    QStringList messages() const { return lines; }
    QStringList messages(QtMsgType type) const;

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
    QStringList lines;
    QList<QtMsgType> types;
    QtMessageHandler previous;
};

// "int:5", "QString:x", "QVariantList[int:1, QString:x]", "invalid": the
// type of every value, nested ones included, next to its value, so that a
// comparison also tells an int from a uint or a QStringList from a list.
QString describe(const QVariant& value);
QString describe(const QList<QVariant>& values);

} // namespace TestSupport

#endif

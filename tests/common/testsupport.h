#ifndef PAVANE_TESTS_TESTSUPPORT_H
#define PAVANE_TESTS_TESTSUPPORT_H

// Shared pieces of the test suites: the guard that keeps tests off the
// machine's own buses, the test peer process, a log of Qt messages, and a
// typed description of variants for exact comparisons.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace TestSupport {

// Empty when the process runs on the private buses of with-private-buses and
// the Qt event loop runs on GLib; otherwise why not.
QString environmentProblem();

// A service of ours in a process of its own, on the private system bus.
class ServiceProcess
{
public:
    ServiceProcess();
    ~ServiceProcess();
    // Starts @p program and waits until it owns @p serviceName on the
    // private system bus (or the session bus).
    bool start(const QString& program, const QStringList& arguments, const QString& serviceName,
               bool sessionBus = false);
    // Ends it with SIGTERM; returns its exit code, or -1 when it did not exit
    // normally.
    int stop();
    bool isRunning() const { return process.state() != QProcess::NotRunning; }
    qint64 pid() const { return process.processId(); }
    // What it wrote to its standard error.
    QString log() const;
    // A scratch directory that lives as long as this object.
    QString scratchPath(const QString& name) const;

private:
    QProcess process;
    QTemporaryDir scratch;
};

// The echo peer of tests/peer.
class PeerProcess : public ServiceProcess
{
public:
    static const char* const ServiceName;
    bool start(const QStringList& arguments = {});
};

// devmoded with a state file of its own, and what its inspection interface
// tells about the requests it received.
class DevmodeProcess : public ServiceProcess
{
public:
    struct Request
    {
        uint count = 0;
        bool replyExpected = false;
        QList<QVariant> args;
    };

    bool start(const QStringList& arguments = {});
    QString stateFile() const { return scratchPath(QStringLiteral("radio-states")); }

    Request lastRequest(const QString& member) const;
    QString tklockMode() const;
    QString displayState() const;
    // Changes the radios as any other client would.
    bool changeRadioStates(uint states, uint mask) const;
};

// notifyd on the private session bus, and its control interface: what a
// person at the screen would see and do.
class NotifydProcess : public ServiceProcess
{
public:
    struct Shown
    {
        QString summary, body, icon, category;
    };

    bool start();
    QList<uint> ids() const;
    Shown get(uint id) const;
    bool invoke(uint id, const QString& action = QStringLiteral("default")) const;
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

// Re-entrancy tables: columns "during" (each of @p moments) and "victims"
// ("emitter", "siblings", "everyone"), for a receiver that deletes those of
// a row of objects while an emission goes round.
void addReceiverVictimRows(const QList<const char*>& moments);
// Whether the receiver of object @p emitter deletes object @p other.
bool isVictim(const QString& victims, int emitter, int other);
// How many receivers of three objects run before nobody is left to notify,
// when objects are notified only while alive, and how many objects outlive it.
int receiversRun(const QString& victims);
int survivors(const QString& victims);

// A receiver for any signal, connected by signature, that deletes its
// victims (those still alive) on each call and counts the calls.
class DeletingReceiver : public QObject
{
    Q_OBJECT

public:
    QList<QPointer<QObject>> victims;
    int calls = 0;

public Q_SLOTS:
    void deleteVictims();
};

} // namespace TestSupport

#endif

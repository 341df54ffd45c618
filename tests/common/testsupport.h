// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_TESTS_TESTSUPPORT_H
#define PAVANE_TESTS_TESTSUPPORT_H

// Shared pieces of the suites: our services in processes of their own on the
// private buses, a log of Qt messages, a typed description of variants, and
// the receivers of the re-entrancy tables.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace TestSupport {

// Empty when the process runs on the private buses of with-private-buses and
// the Qt event loop runs on GLib; otherwise why not.
QString environmentProblem();

// A service in a process of its own, on the private system (or session) bus,
// never on the machine's own; stopped with SIGTERM when the object goes.
class ServiceProcess
{
public:
    ServiceProcess() { process.setStandardErrorFile(scratchPath(QStringLiteral("stderr.log"))); }
    ~ServiceProcess() { stop(); }
    // Starts @p program and waits until that very process owns @p serviceName.
    bool start(const QString& program, const QStringList& arguments, const QString& serviceName,
               bool sessionBus = false);
    int stop(); // its exit code, or -1 when it did not exit normally
    qint64 pid() const { return process.processId(); }
    QString scratchPath(const QString& name) const { return scratch.filePath(name); }

private:
    QTemporaryDir scratch;
    QProcess process;
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
    Request lastRequest(const QString& member) const;
    // What its inspection interface answers, e.g. "get_tklock_mode".
    QString inspected(const QString& member) const;
    bool changeRadioStates(uint states, uint mask) const; // as any other client would

    // For suites that share one daemon among their cases (restarting it
    // between cases would race QtDBus's bookkeeping of the name's owner):
    // sets the radio word a case starts from, lets indications of earlier
    // cases go by, and counts requests from here on.
    bool reset(uint radioStates);
    uint requestsSinceReset(const QString& member) const;

private:
    QHash<QString, uint> countsAtReset;
};

// Records every Qt message while it lives, and still passes them on, so that
// QTest::ignoreMessage keeps working.
class MessageLog
{
public:
    MessageLog();
    ~MessageLog();
    QStringList messages(int type = -1) const; // of that QtMsgType, or all

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
    QList<QPair<int, QString>> lines;
    QtMessageHandler previous;
};

// The type of every value next to it, nested ones included, so that a
// comparison also tells an int from a uint or a QStringList from a list.
QString describe(const QVariant& value);
inline QString describe(const QList<QVariant>& values) { return describe(QVariant(values)); }
inline QVariant list(std::initializer_list<QVariant> values) { return QVariant(QList<QVariant>(values)); }

// Re-entrancy tables: columns "during" (each of @p moments) and "victims"
// ("emitter", "siblings", "everyone") for three objects whose receivers,
// connected by deleteVictimsOnSignal(), delete the row's victims; then
// receiversRun() receivers run, as objects are notified only while alive,
// and survivors() objects are left.
void addReceiverVictimRows(const QList<const char*>& moments);
inline int receiversRun(const QString& victims) { return victims == QLatin1String("emitter") ? 3 : 1; }
inline int survivors(const QString& victims) { return victims == QLatin1String("siblings") ? 1 : 0; }
template<typename T, typename Signal>
void deleteVictimsOnSignal(QObject* context, const QList<QPointer<T>>& objects, Signal signal,
                           const QString& victims, int& calls)
{
    for (int i = 0; i < objects.size(); ++i) {
        QObject::connect(objects[i].data(), signal, context, [&objects, &calls, victims, i] {
            ++calls;
            for (int other = 0; other < objects.size(); ++other) {
                if (victims == QLatin1String("everyone") || (victims == QLatin1String("emitter")) == (other == i))
                    delete objects[other].data();
            }
        });
    }
}

} // namespace TestSupport

#endif

// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_DAEMONTEST_H
#define PLATFORM_DAEMONTEST_H

// What the daemons' tests share: a bus of the test's own, a daemon on it,
// and what every daemon must do about its bus.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// A dbus-daemon in a scratch folder, by default one on which anyone may own
// any name and send anything. Nothing is started on demand, and the bus ends
// with this object or with the test process, however that ends.
class PrivateBus
{
public:
    ~PrivateBus() { takeAway(); }

    bool start(const QString& policy = QStringLiteral("<policy context=\"default\"><allow user=\"*\"/><allow own=\"*\"/>"
                                                      "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/></policy>"))
    {
        // Any user may reach the socket: a policy test calls as another one.
        QFile::setPermissions(scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
        QFile config(scratch.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly)
            || config.write(("<busconfig><listen>unix:path=" + scratch.filePath("bus") + "</listen>" + policy
                             + "</busconfig>\n").toUtf8()) < 0)
            return false;
        config.close();
        daemon.start(QStringLiteral("setpriv"), {"--pdeathsig", "TERM", "--", "dbus-daemon", "--nofork", "--nopidfile",
                                                 "--config-file=" + config.fileName(), "--print-address=1"});
        while (daemon.waitForStarted() && !daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        return !address.isEmpty();
    }

    // This bus as the system and the session bus of the test and of every
    // process it starts; before the test's first connection to either.
    void serveAsDefault() const
    {
        for (const char* bus : {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"})
            qputenv(bus, address.toUtf8());
    }

    QDBusConnection connection() const { return QDBusConnection::connectToBus(address, address); }
    bool isOwned(const QString& name) const
    {
        const QDBusConnectionInterface* bus = connection().interface();
        return bus && bus->isServiceRegistered(name);
    }

    void takeAway()
    {
        QDBusConnection::disconnectFromBus(address);
        daemon.kill();
        daemon.waitForFinished();
    }

    QString address;

private:
    QTemporaryDir scratch;
    QProcess daemon;
};

// A daemon on the default bus, up once it owns its name, stopped with
// SIGTERM.
class DaemonProcess : public QProcess
{
public:
    DaemonProcess(const QString& program, const QString& name)
    {
        setProgram(program);
        setObjectName(name);
    }
    ~DaemonProcess() override { stop(); }

    bool start(const QStringList& arguments = {})
    {
        setArguments(arguments);
        errors.clear();
        QProcess::start();
        for (int i = 0; i < 1000 && waitForStarted(); ++i) {
            // Owned by this process, not by one that had it before.
            if (QDBusConnection::sessionBus().interface()->servicePid(objectName()).value() == uint(processId()))
                return true;
            if (waitForFinished(10))
                break;
        }
        qWarning("%s did not come up:\n%s", qPrintable(program()), qPrintable(log()));
        return false;
    }

    // Its exit code, or -1 when it did not exit normally.
    int stop()
    {
        terminate();
        if (!waitForFinished(10000) && state() != NotRunning)
            kill();
        waitForFinished();
        return exitStatus() == NormalExit ? exitCode() : -1;
    }

    // What it wrote to its standard error so far.
    QString log() { return errors += QString::fromUtf8(readAllStandardError()); }

private:
    QString errors;
};

// One instance of @p program owns @p name on a bus; a second one, started
// with @p secondArguments, exits 1 with the bus's reason. When the bus goes,
// the first one leaves with 1 too, saying so: a daemon without its bus only
// looks alive. The arguments name the bus by --address.
inline void checkOneInstanceAndNoneWithoutBus(PrivateBus& bus, const QString& program, const QStringList& arguments,
                                              const QStringList& secondArguments, const QString& name)
{
    QProcess first;
    first.start(program, arguments);
    QTRY_VERIFY(bus.isOwned(name));

    QProcess second;
    second.start(program, secondArguments);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 1);
    const QString refusal = QString::fromUtf8(second.readAllStandardError());
    QVERIFY2(refusal.contains(QRegularExpression(QStringLiteral("cannot own %1: \\S").arg(name))), qPrintable(refusal));

    bus.takeAway();
    QTRY_COMPARE_WITH_TIMEOUT(first.state(), QProcess::NotRunning, 10000);
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 1);
    QVERIFY(QString::fromUtf8(first.readAllStandardError()).contains(QStringLiteral("lost the bus")));
}

#endif

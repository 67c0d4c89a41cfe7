// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private CUPS scheduler for the tests: configuration, spool, logs and its
// Unix socket all in a temporary directory, never the system's scheduler or
// /etc/cups. Constructing it points this process's libcups (and every lpadmin
// and lpstat it runs) there and nowhere else, so make it before anything asks
// libcups a thing; until start() no scheduler answers there.
class CupsScheduler
{
public:
    CupsScheduler();
    ~CupsScheduler();

    CupsScheduler(const CupsScheduler &) = delete;
    CupsScheduler &operator=(const CupsScheduler &) = delete;

    static bool isInstalled();

    // Starts the daemon and waits until it answers; false with error() set otherwise.
    bool start();
    // Stops the daemon by its process id and waits for it to end.
    void stop();

    // Each returns false with error() set when the command fails.
    bool addQueue(const QString &name, const QString &ppdFile);
    // A queue without a driver, and so without a PPD.
    bool addRawQueue(const QString &name);
    bool setDefault(const QString &name);
    bool removeQueue(const QString &name);
    bool removeAllQueues();

    QString error() const { return m_error; }

private:
    QString path(const QString &name) const;
    bool writeConfiguration();
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    bool waitUntilRunning();

    QTemporaryDir m_directory;
    QProcessEnvironment m_environment;
    QProcess m_daemon;
    QString m_error;
};

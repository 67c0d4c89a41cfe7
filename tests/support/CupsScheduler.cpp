// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsScheduler.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A Unix socket path must fit in 108 bytes.
QString directoryTemplate()
{
    const QString preferred = QDir::tempPath() + u"/pzcups-XXXXXX"_s;
    return preferred.size() < 80 ? preferred : u"/tmp/pzcups-XXXXXX"_s;
}

QString cupsd()
{
    return QStandardPaths::findExecutable(u"cupsd"_s, {u"/usr/sbin"_s, u"/sbin"_s, u"/usr/local/sbin"_s});
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

} // namespace

CupsScheduler::CupsScheduler()
    : m_directory(directoryTemplate())
    , m_environment(QProcessEnvironment::systemEnvironment())
{
    const QString socket = path(u"cups.sock"_s);
    // libcups would also list printers it finds on the network through avahi, which
    // it reaches over the system bus: a bus that is not there keeps them out.
    const QList<std::pair<const char *, QString>> variables{
        {"CUPS_SERVER", socket},
        {"CUPS_SERVERROOT", m_directory.path()},
        {"HOME", path(u"home"_s)},
        {"DBUS_SYSTEM_BUS_ADDRESS", u"unix:path=%1"_s.arg(path(u"no-system-bus"_s))}};
    for (const auto &[name, value] : variables) {
        qputenv(name, QFile::encodeName(value));
        m_environment.insert(QString::fromLatin1(name), value);
    }
    // Neither may name a default printer of the machine running the tests.
    for (const char *name : {"LPDEST", "PRINTER"}) {
        qunsetenv(name);
        m_environment.remove(QString::fromLatin1(name));
    }
    if (!m_directory.isValid())
        m_error = u"cannot make a temporary directory: %1"_s.arg(m_directory.errorString());
    else if (!writeConfiguration())
        m_error = u"cannot write the scheduler's configuration in %1"_s.arg(m_directory.path());
}

CupsScheduler::~CupsScheduler()
{
    stop();
}

bool CupsScheduler::isInstalled()
{
    return !cupsd().isEmpty()
        && !QStandardPaths::findExecutable(u"lpadmin"_s, {u"/usr/sbin"_s, u"/usr/bin"_s}).isEmpty();
}

QString CupsScheduler::path(const QString &name) const
{
    return m_directory.filePath(name);
}

bool CupsScheduler::writeConfiguration()
{
    for (const QString &sub : {u"cache"_s, u"state"_s, u"spool"_s, u"tmp"_s, u"log"_s, u"home"_s, u"ppd"_s})
        if (!QDir().mkpath(path(sub)))
            return false;
    const QString cupsdConf = uR"(Listen %1
Browsing No
WebInterface No
LogLevel warn
DefaultPolicy open
<Policy open>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
<Location />
  Order allow,deny
  Allow all
</Location>
)"_s.arg(path(u"cups.sock"_s));
    QString filesConf = uR"(ServerRoot %1
CacheDir %1/cache
StateDir %1/state
RequestRoot %1/spool
TempDir %1/tmp
ErrorLog %1/log/error_log
AccessLog %1/log/access_log
PageLog %1/log/page_log
Printcap %1/printcap
FileDevice Yes
)"_s.arg(m_directory.path());
    // Run as root, the daemon drops to its own user; run as anyone else, it stays that user.
    if (::geteuid() != 0)
        filesConf += u"User %1\n"_s.arg(::geteuid());
    return writeFile(path(u"cupsd.conf"_s), cupsdConf) && writeFile(path(u"cups-files.conf"_s), filesConf);
}

bool CupsScheduler::start()
{
    if (!m_error.isEmpty())
        return false;
    m_daemon.setProcessEnvironment(m_environment);
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    // Should the test itself die, the daemon goes with it.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(cupsd(), {u"-f"_s, u"-c"_s, path(u"cupsd.conf"_s), u"-s"_s, path(u"cups-files.conf"_s)});
    if (!m_daemon.waitForStarted(10000)) {
        m_error = u"cannot start cupsd: %1"_s.arg(m_daemon.errorString());
        return false;
    }
    return waitUntilRunning();
}

// lpstat -r exits 0 whether or not the scheduler runs; only its text tells.
bool CupsScheduler::waitUntilRunning()
{
    const QDeadlineTimer deadline(20000);
    QString output;
    while (!deadline.hasExpired()) {
        if (m_daemon.state() != QProcess::Running) {
            m_error = u"cupsd ended at start: %1"_s.arg(QString::fromLocal8Bit(m_daemon.readAll()));
            return false;
        }
        if (run(u"lpstat"_s, {u"-r"_s}, &output) && output.trimmed() == u"scheduler is running"_s)
            return true;
        QThread::msleep(20);
    }
    m_error = u"cupsd does not answer: %1"_s.arg(output);
    return false;
}

void CupsScheduler::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(15000)) {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

bool CupsScheduler::addQueue(const QString &name, const QString &ppdFile)
{
    return run(u"lpadmin"_s, {u"-p"_s, name, u"-E"_s, u"-v"_s, u"file:///dev/null"_s, u"-P"_s, ppdFile});
}

bool CupsScheduler::addRawQueue(const QString &name)
{
    return run(u"lpadmin"_s, {u"-p"_s, name, u"-E"_s, u"-v"_s, u"file:///dev/null"_s, u"-m"_s, u"raw"_s});
}

bool CupsScheduler::setDefault(const QString &name)
{
    return run(u"lpadmin"_s, {u"-d"_s, name});
}

bool CupsScheduler::removeQueue(const QString &name)
{
    return run(u"lpadmin"_s, {u"-x"_s, name});
}

bool CupsScheduler::removeAllQueues()
{
    QString output;
    if (!run(u"lpstat"_s, {u"-e"_s}, &output))
        return false;
    for (const QString &name : output.split(u'\n', Qt::SkipEmptyParts))
        if (!removeQueue(name.trimmed()))
            return false;
    return true;
}

bool CupsScheduler::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    const QString executable = QStandardPaths::findExecutable(program,
                                                              {u"/usr/sbin"_s, u"/usr/bin"_s, u"/sbin"_s, u"/bin"_s});
    process.start(executable.isEmpty() ? program : executable, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = u"%1 %2 failed: %3 %4"_s.arg(program, arguments.join(u' '), process.errorString(),
                                               QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return true;
}

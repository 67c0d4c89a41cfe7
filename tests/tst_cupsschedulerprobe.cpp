// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/printers/CupsSchedulerProbe.h"

#include <QFile>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_CupsSchedulerProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void nothingToAskWithoutAScheduler();
    void askedWhereverLibcupsWouldFindOne_data();
    void askedWhereverLibcupsWouldFindOne();

private:
    CupsSchedulerProbe::Places emptyPlaces() const;

    QTemporaryDir m_dir;
    quint16 m_unusedPort = 0;
};

void tst_CupsSchedulerProbe::init()
{
    qunsetenv("CUPS_SERVER");
    // A port just freed: nothing listens there.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    m_unusedPort = server.serverPort();
}

CupsSchedulerProbe::Places tst_CupsSchedulerProbe::emptyPlaces() const
{
    return {m_dir.filePath(u"etc"_s), m_dir.filePath(u"home"_s), m_dir.filePath(u"cups.sock"_s), m_unusedPort};
}

void tst_CupsSchedulerProbe::nothingToAskWithoutAScheduler()
{
    QVERIFY(!CupsSchedulerProbe(emptyPlaces()).mayAnswer());
}

void tst_CupsSchedulerProbe::askedWhereverLibcupsWouldFindOne_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("CUPS_SERVER") << u"environment"_s;
    QTest::newRow("system client.conf") << u"etc"_s;
    QTest::newRow("user client.conf") << u"home"_s;
    QTest::newRow("local socket") << u"socket"_s;
    QTest::newRow("IPP port of this machine") << u"port"_s;
}

void tst_CupsSchedulerProbe::askedWhereverLibcupsWouldFindOne()
{
    QFETCH(QString, where);
    CupsSchedulerProbe::Places places = emptyPlaces();
    QTcpServer scheduler;
    const auto unset = qScopeGuard([] { qunsetenv("CUPS_SERVER"); });
    const auto touch = [](const QString &path) {
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    };
    if (where == u"environment"_s) {
        qputenv("CUPS_SERVER", "printhost");
    } else if (where == u"socket"_s) {
        touch(places.localSocket);
    } else if (where == u"port"_s) {
        QVERIFY(scheduler.listen(QHostAddress::LocalHost));
        places.ippPort = scheduler.serverPort();
    } else {
        const QString directory = where == u"etc"_s ? places.serverRoot : places.userDirectory;
        QVERIFY(QDir().mkpath(directory));
        touch(directory + u"/client.conf"_s);
    }
    QVERIFY(CupsSchedulerProbe(places).mayAnswer());
    QFile::remove(places.localSocket);
}

QTEST_GUILESS_MAIN(tst_CupsSchedulerProbe)
#include "tst_cupsschedulerprobe.moc"

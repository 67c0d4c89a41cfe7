// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "platform/fake/FakePlatform.h"
#include "snapshot/SnapshotSession.h"
#include "support/CupsScheduler.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString ppd(const QString &name)
{
    return QStringLiteral(PELZORA_TEST_DATA "/printers/") + name;
}

// The real window on the Linux backend, its printer tick run by hand.
class PrinterWindow
{
public:
    PrinterWindow()
        : m_session(nullptr, QDir(m_out.path()))
    {
    }

    void tick() { m_session.window().Timer7Timer(); }
    QStringList printers() const { return control(u"ListBox2"_s).value(u"items"_s).toVariant().toStringList(); }
    QString text(const QString &name) const { return control(name).value(u"text"_s).toString(); }
    QStringList labels() const { return {text(u"Label26"_s), text(u"Label27"_s), text(u"Label25"_s)}; }

private:
    QJsonObject control(const QString &name) const
    {
        return m_session.dump().value(u"controls"_s).toObject().value(name).toObject();
    }

    QTemporaryDir m_out;
    SnapshotSession m_session;
};

const QStringList Unknown{u"<Unknown>"_s, u"<Unknown>"_s, u"<Unknown>"_s};

} // namespace

class tst_LinuxPrinters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void colourDefaultAmongTwoPrinters();
    void defaultPrinter_data();
    void defaultPrinter();
    void environmentChoosesTheDefault();
    void noPrinters();
    void defaultWithoutResolution();
    void defaultDeletedWhileRunning();
    void printerAddedWhileRunning();
    void noScheduler();
    void schedulerGoneAndBack();

private:
    bool addQueues(const QList<std::pair<QString, QString>> &queues, const QString &defaultName);

    std::unique_ptr<CupsScheduler> m_scheduler;
};

void tst_LinuxPrinters::initTestCase()
{
    if (!CupsScheduler::isInstalled())
        QSKIP("cupsd and lpadmin are not installed (packages cups-daemon and cups-client)");
    m_scheduler = std::make_unique<CupsScheduler>();
    QVERIFY2(m_scheduler->start(), qPrintable(m_scheduler->error()));
}

void tst_LinuxPrinters::cleanupTestCase()
{
    m_scheduler.reset();
}

void tst_LinuxPrinters::init()
{
    QVERIFY2(m_scheduler->removeAllQueues(), qPrintable(m_scheduler->error()));
}

bool tst_LinuxPrinters::addQueues(const QList<std::pair<QString, QString>> &queues, const QString &defaultName)
{
    for (const auto &[name, ppdFile] : queues)
        if (!m_scheduler->addQueue(name, ppd(ppdFile)))
            return false;
    return defaultName.isEmpty() || m_scheduler->setDefault(defaultName);
}

void tst_LinuxPrinters::colourDefaultAmongTwoPrinters()
{
    QVERIFY2(addQueues({{u"A"_s, u"colour-600.ppd"_s}, {u"B"_s, u"colour-600.ppd"_s}}, u"B"_s),
             qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    QCOMPARE(window.printers(), QStringList({u"A"_s, u"B"_s}));
    QCOMPARE(window.text(u"Label26"_s), u"B: 彩色"_s);
    QCOMPARE(window.text(u"Label27"_s), u"打印机支持彩色打印"_s);
    QCOMPARE(window.text(u"Label25"_s), u"x: 600 y: 600 DPI (每英寸点数)"_s);
}

void tst_LinuxPrinters::defaultPrinter_data()
{
    QTest::addColumn<QString>("ppdFile");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("monochrome at 300 dpi")
        << u"mono-300.ppd"_s
        << QStringList{u"P: 黑白"_s, u"打印机不支持彩色打印"_s, u"x: 300 y: 300 DPI (每英寸点数)"_s};
    QTest::newRow("colour printer printing grey by default")
        << u"colour-600-grey.ppd"_s
        << QStringList{u"P: 黑白"_s, u"打印机支持彩色打印"_s, u"x: 600 y: 600 DPI (每英寸点数)"_s};
    QTest::newRow("1200 by 600 dpi") << u"colour-1200x600.ppd"_s
                                     << QStringList{u"P: 彩色"_s, u"打印机支持彩色打印"_s,
                                                    u"x: 1200 y: 600 DPI (每英寸点数)"_s};
}

void tst_LinuxPrinters::defaultPrinter()
{
    QFETCH(QString, ppdFile);
    QFETCH(QStringList, labels);
    QVERIFY2(addQueues({{u"P"_s, ppdFile}}, u"P"_s), qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    QCOMPARE(window.printers(), QStringList{u"P"_s});
    QCOMPARE(window.labels(), labels);
}

// As the CUPS tools do, LPDEST names the default before the scheduler does.
void tst_LinuxPrinters::environmentChoosesTheDefault()
{
    QVERIFY2(addQueues({{u"A"_s, u"mono-300.ppd"_s}, {u"B"_s, u"colour-600.ppd"_s}}, u"B"_s),
             qPrintable(m_scheduler->error()));
    qputenv("LPDEST", "A");
    const auto unset = qScopeGuard([] { qunsetenv("LPDEST"); });
    PrinterWindow window;
    window.tick();
    QCOMPARE(window.labels(),
             QStringList({u"A: 黑白"_s, u"打印机不支持彩色打印"_s, u"x: 300 y: 300 DPI (每英寸点数)"_s}));
}

void tst_LinuxPrinters::noPrinters()
{
    PrinterWindow window;
    window.tick();
    window.tick();
    QCOMPARE(window.printers(), QStringList());
    QCOMPARE(window.labels(), Unknown);
}

// A raw queue has no resolution (and no PPD to take one from): no context can be made.
void tst_LinuxPrinters::defaultWithoutResolution()
{
    QVERIFY2(m_scheduler->addRawQueue(u"R"_s) && m_scheduler->setDefault(u"R"_s), qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    window.tick();
    QCOMPARE(window.printers(), QStringList{u"R"_s});
    QCOMPARE(window.labels(), Unknown);
}

void tst_LinuxPrinters::defaultDeletedWhileRunning()
{
    QVERIFY2(addQueues({{u"A"_s, u"mono-300.ppd"_s}, {u"B"_s, u"colour-600.ppd"_s}}, u"B"_s),
             qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    const QStringList good = window.labels();
    QCOMPARE(good.first(), u"B: 彩色"_s);
    QVERIFY2(m_scheduler->removeQueue(u"B"_s), qPrintable(m_scheduler->error()));
    window.tick();
    window.tick();
    QCOMPARE(window.printers(), QStringList({u"A"_s, u"B"_s}));
    QCOMPARE(window.labels(), good);
}

// The list is kept as first built; a new default that is not in it is not
// shown, and the resolution goes on coming from the previous default.
void tst_LinuxPrinters::printerAddedWhileRunning()
{
    QVERIFY2(addQueues({{u"A"_s, u"mono-300.ppd"_s}, {u"B"_s, u"colour-600.ppd"_s}}, u"B"_s),
             qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    const QStringList good = window.labels();
    QVERIFY2(addQueues({{u"C"_s, u"colour-1200x600.ppd"_s}}, u"C"_s), qPrintable(m_scheduler->error()));
    window.tick();
    window.tick();
    QCOMPARE(window.printers(), QStringList({u"A"_s, u"B"_s}));
    QCOMPARE(window.labels(), good);
}

void tst_LinuxPrinters::noScheduler()
{
    QVERIFY2(addQueues({{u"A"_s, u"colour-600.ppd"_s}}, u"A"_s), qPrintable(m_scheduler->error()));
    m_scheduler->stop();
    const auto restart = qScopeGuard([this] { QVERIFY2(m_scheduler->start(), qPrintable(m_scheduler->error())); });
    PrinterWindow window;
    window.tick();
    window.tick();
    QCOMPARE(window.printers(), QStringList());
    QCOMPARE(window.labels(), Unknown);
}

// The connection is kept between ticks: a scheduler that goes away leaves the
// page as it was, and once it is back the page follows it again.
void tst_LinuxPrinters::schedulerGoneAndBack()
{
    QVERIFY2(addQueues({{u"A"_s, u"mono-300.ppd"_s}, {u"B"_s, u"colour-600.ppd"_s}}, u"B"_s),
             qPrintable(m_scheduler->error()));
    PrinterWindow window;
    window.tick();
    const QStringList good = window.labels();
    m_scheduler->stop();
    window.tick();
    QCOMPARE(window.labels(), good);
    QVERIFY2(m_scheduler->start() && m_scheduler->setDefault(u"A"_s), qPrintable(m_scheduler->error()));
    window.tick();
    QCOMPARE(window.text(u"Label26"_s), u"A: 黑白"_s);
    QCOMPARE(window.text(u"Label25"_s), u"x: 600 y: 600 DPI (每英寸点数)"_s);
    window.tick();
    QCOMPARE(window.text(u"Label25"_s), u"x: 300 y: 300 DPI (每英寸点数)"_s);
}

QTEST_MAIN(tst_LinuxPrinters)
#include "tst_linuxprinters.moc"

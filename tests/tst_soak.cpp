// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window left running for minutes on a fake machine that keeps
// changing under it, with a user switching pages, picking drives and clicking
// links. It passes when nothing reaches the failure report, the sanitizers (in
// a sanitizer build) stay silent, and resident memory stops growing once the
// window has settled.
//
// PELZORA_SOAK_SECONDS sets the length (600 by default); PELZORA_SOAK_SEED
// replays another sequence of changes and actions.

#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drives/TDriveComboBox.h"
#include "support/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define PELZORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELZORA_ASAN 1
#endif
#endif
#ifdef PELZORA_ASAN
// The sanitizer runtime's allocator interface; GCC installs no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
extern "C" size_t __sanitizer_get_heap_size();

// A small quarantine fills within the first minute at the window's rate of
// frees, so it stops growing before the measured span; it still catches use
// after free of recent blocks. Exact stacks for allocations: Qt is built
// without frame pointers, and the fast unwinder's guesses past it make every
// stack new, so the sanitizer's store of stacks would grow for ever.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=1:thread_local_quarantine_size_kb=64:fast_unwind_on_malloc=0";
}
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultSeconds = 600;
constexpr int ShortestSeconds = 20;
constexpr int WindowSeconds = 60;
// Growth of the resident set allowed from minute 2 to the last minute.
constexpr qint64 AllowedGrowthKilobytes = 1024;
constexpr int PageCount = 7;
constexpr int TimerCount = 7;

int soakSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("PELZORA_SOAK_SECONDS", &ok);
    return ok ? seconds : DefaultSeconds;
}

quint32 soakSeed()
{
    bool ok = false;
    const int seed = qEnvironmentVariableIntValue("PELZORA_SOAK_SEED", &ok);
    return ok ? quint32(seed) : 9u;
}

qint64 residentKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Bytes the program holds from the allocator: tells a leak from the
// allocator's own keeping when the resident set moves.
qint64 heapKilobytes()
{
#ifdef PELZORA_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes()) / 1024;
#else
    return qint64(mallinfo2().uordblks) / 1024;
#endif
}

// Free memory the allocator keeps mapped for later. The sanitizer's allocator
// keeps blocks of each size apart and never merges them, so its share only
// rises, by the most blocks of one size the program ever held at once; that
// is its bookkeeping, not the program's memory, and growth is judged without it.
qint64 allocatorFreeKilobytes()
{
#ifdef PELZORA_ASAN
    return (qint64(__sanitizer_get_heap_size()) - qint64(__sanitizer_get_current_allocated_bytes())) / 1024;
#else
    return qint64(mallinfo2().fordblks) / 1024;
#endif
}

struct Sample
{
    double seconds;
    qint64 residentKb;
    qint64 heapKb;
    qint64 allocatorFreeKb;
    // The resident set less the allocator's free memory: what the program itself takes.
    qint64 programKb;
};

Sample takeSample(double seconds)
{
    const qint64 resident = residentKilobytes();
    const qint64 allocatorFree = allocatorFreeKilobytes();
    return {seconds, resident, heapKilobytes(), allocatorFree, resident - allocatorFree};
}

qint64 median(QList<qint64> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The median over [from, to) seconds: a single burst of allocation (a page
// painted for the first time, a long list read once) moves it little.
qint64 medianBetween(const QList<Sample> &samples, double from, double to, qint64 Sample::*field)
{
    QList<qint64> values;
    for (const Sample &sample : samples)
        if (sample.seconds >= from && sample.seconds < to)
            values.append(sample.*field);
    return median(values);
}

QString hex(quint64 value)
{
    return u"0x"_s + QString::number(value, 16);
}

// Changes to the fake machine, one set every few seconds, drawn from a seeded
// generator so that a failing run can be replayed.
class MachineChanges
{
public:
    static inline const QString Letters = u"ACDER"_s;

    explicit MachineChanges(QRandomGenerator &random)
        : m_random(random)
    {
    }

    // Services and installed programs are read once at start, so they are set
    // here only; the rest changes with every next().
    QJsonObject initial()
    {
        QJsonObject fixture = next();
        fixture.insert(u"cpuid"_s, cpuid());
        fixture.insert(u"currentDirectory"_s, u"C:\\Users\\ann"_s);
        fixture.insert(u"services"_s, services());
        fixture.insert(u"uninstall"_s, uninstall());
        QJsonArray drives;
        for (const QChar letter : Letters)
            drives.append(drive(letter));
        fixture.insert(u"drives"_s, drives);
        return fixture;
    }

    QJsonObject next()
    {
        return {{u"drives"_s, drives()}, {u"printers"_s, printers()}, {u"memory"_s, memory()},
                {u"host"_s, host()},     {u"tickCount"_s, ticks()},   {u"shell"_s, shell()}};
    }

private:
    bool chance(int percent) { return int(m_random.bounded(100)) < percent; }

    template<typename T>
    T pick(const QList<T> &list)
    {
        return list.at(qsizetype(m_random.bounded(quint32(list.size()))));
    }

    quint64 upTo(quint64 limit) { return limit == ~quint64(0) ? m_random.generate64() : m_random.bounded(limit + 1); }

    QJsonArray drives()
    {
        QJsonArray drives;
        for (const QChar letter : Letters)
            if (letter == u'C' || chance(85))
                drives.append(drive(letter));
        return drives;
    }

    QJsonObject drive(QChar letter)
    {
        static const QList<int> usualTypes{2, 3, 4, 5, 6};
        const int type = chance(90) ? usualTypes.at(Letters.indexOf(letter)) : int(m_random.bounded(7));
        const quint64 total = chance(5) ? ~quint64(0) : upTo(quint64(1) << 44);
        QJsonObject drive{
            {u"letter"_s, QString(letter)},
            {u"type"_s, type},
            {u"label"_s, pick(QList<QString>{u"System"_s, u"数据"_s, QString(), u"Bo\u0000ot"_s, QString(40, u'L')})},
            {u"serial"_s, hex(m_random.generate())},
            {u"fileSystem"_s, pick(QList<QString>{u"NTFS"_s, u"FAT32"_s, u"ext4"_s, QString(), QString(40, u'F')})},
            {u"totalBytes"_s, hex(total)},
            {u"freeBytes"_s, hex(upTo(total))},
            {u"ready"_s, letter == u'A' ? chance(30) : chance(92)},
            {u"volumeQueryFails"_s, chance(8)}};
        if (type == 4)
            drive.insert(u"remoteName"_s,
                         chance(70) ? QJsonValue(u"\\\\Server\\Share%1"_s.arg(m_random.bounded(5))) : QJsonValue());
        return drive;
    }

    QJsonObject printers()
    {
        static const QList<QString> names{u"Office Laser"_s, u"激光打印机"_s,    u"PDF"_s,
                                          u"Label Writer"_s, u"Colour Inkjet"_s, QString(80, u'P')};
        QJsonArray list;
        QStringList listed;
        const int count = int(m_random.bounded(5));
        for (int i = 0; i < count; ++i) {
            const QString name = pick(names);
            if (listed.contains(name))
                continue;
            listed.append(name);
            list.append(QJsonObject{
                {u"name"_s, name},
                {u"dmColor"_s, chance(50) ? 2 : 1},
                {u"colorFlag"_s, chance(50)},
                {u"dpi"_s, QJsonArray{pick(QList<int>{150, 300, 600, 1200}), pick(QList<int>{150, 300, 600, 1200})}},
                {u"infoContext"_s, chance(90)},
                {u"devmodeSize"_s, chance(90) ? 220 : 0}});
        }
        QJsonValue defaultName;
        if (chance(10))
            defaultName = u"Gone"_s;
        else if (!listed.isEmpty() && chance(85))
            defaultName = pick(listed);
        return {{u"list"_s, list}, {u"default"_s, defaultName}};
    }

    QJsonObject memoryStatus()
    {
        const quint64 totalPhys = chance(4) ? 0 : upTo(quint64(1) << 36);
        const quint64 totalPageFile = chance(4) ? 0 : upTo(quint64(1) << 37);
        return {{u"load"_s, int(m_random.bounded(121))},
                {u"totalPhys"_s, hex(totalPhys)},
                {u"availPhys"_s, hex(upTo(totalPhys))},
                {u"totalPageFile"_s, hex(totalPageFile)},
                {u"availPageFile"_s, hex(upTo(totalPageFile))}};
    }

    QJsonArray memory()
    {
        QJsonArray answers;
        for (quint32 i = 0, count = 1 + m_random.bounded(4u); i < count; ++i)
            answers.append(memoryStatus());
        return answers;
    }

    QJsonObject host()
    {
        QJsonArray addresses;
        for (quint32 i = 0, count = m_random.bounded(4u); i < count; ++i)
            addresses.append(u"%1.%2.%3.%4"_s.arg(1 + m_random.bounded(223))
                                 .arg(m_random.bounded(256))
                                 .arg(m_random.bounded(256))
                                 .arg(1 + m_random.bounded(254)));
        return {{u"name"_s, pick(QList<QString>{u"pc1"_s, u"工作站"_s, u"build-server"_s, QString(70, u'h')})},
                {u"nameFails"_s, chance(8)},
                {u"resolves"_s, chance(85)},
                {u"addresses"_s, addresses}};
    }

    // Mostly a clock going on; now and then one at the ends of its range.
    QJsonArray ticks()
    {
        QJsonArray answers;
        for (quint32 i = 0, count = 1 + m_random.bounded(3u); i < count; ++i) {
            m_uptime += 500 + m_random.bounded(2500u);
            answers.append(hex(chance(3) ? pick(QList<quint64>{0, 0xFFFFFFFFu, ~quint64(0)}) : m_uptime));
        }
        return answers;
    }

    QJsonObject shell()
    {
        QJsonArray opens;
        for (quint32 i = 0, count = 1 + m_random.bounded(3u); i < count; ++i)
            opens.append(chance(60));
        return {{u"opens"_s, opens}};
    }

    static QJsonObject cpuid()
    {
        const QJsonObject leaves{
            {u"0x0"_s, QJsonArray{u"0xD"_s, u"0x756E6547"_s, u"0x6C65746E"_s, u"0x49656E69"_s}},
            {u"0x1"_s, QJsonArray{u"0x906EA"_s, u"0x10800"_s, u"0x7FFAFBBF"_s, u"0xBFEBFBFF"_s}},
            {u"0x80000000"_s, QJsonArray{u"0x80000008"_s, 0, 0, 0}},
            {u"0x80000002"_s, QJsonArray{u"0x65746E49"_s, u"0x2952286C"_s, u"0x726F4320"_s, u"0x4D542865"_s}},
            {u"0x80000003"_s, QJsonArray{u"0x37692029"_s, u"0x3037382D"_s, u"0x43204B30"_s, u"0x40205550"_s}},
            {u"0x80000004"_s, QJsonArray{u"0x372E3320"_s, u"0x7A484730"_s, 0, 0}}};
        return {{u"available"_s, true}, {u"leaves"_s, leaves}};
    }

    static QJsonObject services()
    {
        QJsonArray names;
        for (int i = 0; i < 120; ++i)
            names.append(u"Service %1 服务"_s.arg(i));
        return {{u"displayNames"_s, names}};
    }

    static QJsonObject uninstall()
    {
        QJsonArray keys;
        for (int i = 0; i < 60; ++i)
            keys.append(QJsonObject{
                {u"name"_s, u"K%1"_s.arg(i)},
                {u"values"_s,
                 QJsonObject{
                     {u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, u"程序 %1"_s.arg(59 - i)}}},
                     {u"UninstallString"_s,
                      QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, u"/usr/bin/remove %1"_s.arg(i)}}}}}});
        return {{u"keys"_s, keys}};
    }

    QRandomGenerator &m_random;
    quint64 m_uptime = 93'784'000;
};

// What the soak did, for the closing figures.
struct Tally
{
    int machineChanges = 0;
    int pageChanges = 0;
    int drivePicks = 0;
    int linkClicks = 0;
    int dumps = 0;
    QList<int> ticks = QList<int>(TimerCount, 0);

    int steps() const { return machineChanges + pageChanges + drivePicks + linkClicks + dumps; }
};

} // namespace

class tst_Soak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowRunsForMinutesWithoutFailuresOrGrowth();

private:
    void actAsUser(Session &session, QRandomGenerator &random, Tally &tally);
    static QStringList driveLetters(Session &session);
    static void printFigures(const QList<Sample> &samples, int seconds, const Tally &tally);
};

void tst_Soak::windowRunsForMinutesWithoutFailuresOrGrowth()
{
    const int seconds = soakSeconds();
    QVERIFY2(seconds >= ShortestSeconds, "PELZORA_SOAK_SECONDS is too short to judge any growth");
    QRandomGenerator random(soakSeed());
    MachineChanges changes(random);
    Session session(QJsonDocument(changes.initial()).toJson(QJsonDocument::Compact));

    Tally tally;
    const QList<TTimer *> timers = session->window().timers();
    for (int i = 0; i < timers.size(); ++i)
        connect(timers.at(i), &TTimer::timeout, this, [&tally, i] { ++tally.ticks[i]; });

    QList<Sample> samples;
    QElapsedTimer clock;
    clock.start();
    double nextChange = 0;
    double nextSample = 0;
    double nextDump = 30;
    for (double now = 0; now < seconds; now = clock.elapsed() / 1000.0) {
        if (now >= nextSample) {
            samples.append(takeSample(now));
            nextSample = now + 1;
        }
        if (now >= nextChange) {
            session->runStep({{u"fixture"_s, changes.next()}});
            ++tally.machineChanges;
            nextChange = now + 2 + random.bounded(3.0);
        }
        if (now >= nextDump) {
            const QJsonArray reports = session.dump().value(u"reports"_s).toArray();
            QVERIFY2(reports.isEmpty(), QJsonDocument(reports).toJson().constData());
            ++tally.dumps;
            nextDump = now + 30;
        }
        actAsUser(session, random, tally);
        session.wait(150 + int(random.bounded(650)));
    }

    printFigures(samples, seconds, tally);
    const QJsonArray reports = session.dump().value(u"reports"_s).toArray();
    QVERIFY2(reports.isEmpty(), QJsonDocument(reports).toJson().constData());
    QVERIFY(tally.ticks.at(4) >= seconds / 2); // the per-second timer kept going throughout

    // Minute 2 against the last minute; a short trial run scales both windows to a fifth of its length.
    const double window = qMin(double(WindowSeconds), seconds / 5.0);
    const auto growth = [&](qint64 Sample::*field) {
        return medianBetween(samples, seconds - window, seconds + 1.0, field)
            - medianBetween(samples, window, 2 * window, field);
    };
    qInfo("soak: growth after minute 2: resident %lld kB, allocator's free memory %lld kB, program %lld kB",
          growth(&Sample::residentKb), growth(&Sample::allocatorFreeKb), growth(&Sample::programKb));
    QVERIFY(medianBetween(samples, window, 2 * window, &Sample::residentKb) > 0);
    QVERIFY2(growth(&Sample::programKb) < AllowedGrowthKilobytes,
             qPrintable(u"resident memory less the allocator's free memory grew by %1 kB after settling"_s.arg(
                 growth(&Sample::programKb))));
}

void tst_Soak::actAsUser(Session &session, QRandomGenerator &random, Tally &tally)
{
    if (random.bounded(100) < 45) {
        session.page(int(random.bounded(PageCount)));
        ++tally.pageChanges;
    }
    const int page = session->window().notebook()->pageIndex();
    if (page == 2 && random.bounded(100) < 50) {
        const QStringList letters = driveLetters(session);
        if (!letters.isEmpty()) {
            session->runStep({{u"pick"_s, letters.at(qsizetype(random.bounded(quint32(letters.size()))))}});
            ++tally.drivePicks;
        }
    } else if (page == 6 && random.bounded(100) < 40) {
        session->runStep({{u"click"_s, random.bounded(2) ? u"UrlLabel1"_s : u"UrlLabel2"_s}});
        ++tally.linkClicks;
    }
}

QStringList tst_Soak::driveLetters(Session &session)
{
    const auto *selector = session->window().findChild<TDriveComboBox *>(u"DriveComboBox1"_s);
    QStringList letters;
    for (int i = 0; i < selector->count(); ++i)
        letters.append(selector->itemText(i).left(1));
    return letters;
}

void tst_Soak::printFigures(const QList<Sample> &samples, int seconds, const Tally &tally)
{
    qInfo("soak: %d s, %d steps (%d machine changes, %d page changes, %d drive picks, %d link clicks, %d dumps)",
          seconds, tally.steps(), tally.machineChanges, tally.pageChanges, tally.drivePicks, tally.linkClicks,
          tally.dumps);
    qInfo("soak: timer ticks %d %d %d %d %d %d %d", tally.ticks.at(0), tally.ticks.at(1), tally.ticks.at(2),
          tally.ticks.at(3), tally.ticks.at(4), tally.ticks.at(5), tally.ticks.at(6));
    const int window = qMax(1, qMin(WindowSeconds, seconds / 5));
    for (int from = 0; from < seconds; from += window)
        qInfo("soak: %4d-%4d s: resident %lld kB, heap %lld kB, allocator's free %lld kB, program %lld kB (medians)",
              from, from + window, medianBetween(samples, from, from + window, &Sample::residentKb),
              medianBetween(samples, from, from + window, &Sample::heapKb),
              medianBetween(samples, from, from + window, &Sample::allocatorFreeKb),
              medianBetween(samples, from, from + window, &Sample::programKb));
}

int main(int argc, char **argv)
{
    // The soak outlasts QtTest's five-minute watchdog by design.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((qint64(soakSeconds()) + 300) * 1000));
    QApplication app(argc, argv);
    tst_Soak test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soak.moc"

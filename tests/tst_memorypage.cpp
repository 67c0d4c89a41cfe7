// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "pages/MegabyteText.h"
#include "support/Session.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr quint64 GiB = quint64(1) << 30;

struct Figures
{
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
    quint64 totalPageFile = 0;
    quint64 availPageFile = 0;
    quint32 load = 0;
};

QByteArray memoryJson(const Figures &f)
{
    return u"{ \"memory\": [ { \"load\": %1, \"totalPhys\": \"%2\", \"availPhys\": \"%3\","
           " \"totalPageFile\": \"%4\", \"availPageFile\": \"%5\" } ] }"_s.arg(f.load)
               .arg(f.totalPhys)
               .arg(f.availPhys)
               .arg(f.totalPageFile)
               .arg(f.availPageFile)
               .toUtf8();
}

// The window with the graph's timer held, so each graph tick is the test's own.
class GraphSession
{
public:
    explicit GraphSession(const Figures &figures)
        : m_session(memoryJson(figures))
    {
        window().timers().at(2)->setEnabled(false);
    }

    TFormMain &window() { return m_session->window(); }
    Session &session() { return m_session; }

    void setMemory(const Figures &figures) { m_session.steps("[ { \"fixture\": " + memoryJson(figures) + " } ]"); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            window().Timer3Timer();
    }

    int column() const { return m_session.dump().value(u"graphColumn"_s).toInt(); }
    QJsonArray segments(const QString &box) const { return m_session.control(box).value(u"segments"_s).toArray(); }
    QJsonArray pen(const QString &box) const { return m_session.control(box).value(u"pen"_s).toArray(); }

private:
    Session m_session;
};

QJsonArray line(int x1, int y1, int x2, int y2)
{
    return {x1, y1, x2, y2};
}

// Half of each total available: both lines in row 44.
constexpr Figures halfFree{8 * GiB, 4 * GiB, 12 * GiB, 6 * GiB, 50};

} // namespace

class tst_MemoryPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void megabyteText_data();
    void megabyteText();
    void figuresAndLoad();
    void loadBarStaysWithinItsRange();
    void rowFollowsTheShareAvailable_data();
    void rowFollowsTheShareAvailable();
    void sweepWrapsAfterColumn309();
    void pageChangeRestartsTheGraph();
    void totalOfZeroDrawsNothing();
    void pageFileTotalOfZeroDrawsThePhysicalLineAlone();
    void rowBeyondAnIntegerDrawsNothing();
    void windowRepaintKeepsTheLines();
};

void tst_MemoryPage::megabyteText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << quint64(0) << u"0 MB"_s;
    QTest::newRow("just under 1 MB") << quint64(1048575) << u"0 MB"_s;
    QTest::newRow("1 MB") << quint64(1048576) << u"1 MB"_s;
    QTest::newRow("largest 32-bit") << quint64(4294967295) << u"4095 MB"_s;
    QTest::newRow("4 GiB") << 4 * GiB << u"4096 MB"_s;
    QTest::newRow("32 GiB") << 32 * GiB << u"32768 MB"_s;
    QTest::newRow("2 TiB") << 2048 * GiB << u"2097152 MB"_s;
    QTest::newRow("2 TiB less a byte") << 2048 * GiB - 1 << u"2097151 MB"_s;
    // Where a double would round up to 17592186044416.
    QTest::newRow("largest 64-bit") << ~quint64(0) << u"17592186044415 MB"_s;
}

void tst_MemoryPage::megabyteText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::megabyteText(bytes), text);
}

void tst_MemoryPage::figuresAndLoad()
{
    Session session(memoryJson({32 * GiB, 4294967295, 4294967295 + 1048576, 1048575, 37}));
    session->window().Timer2Timer();
    QCOMPARE(session.text(u"Label2"_s), u"32768 MB"_s);
    QCOMPARE(session.text(u"Label4"_s), u"4095 MB"_s);
    QCOMPARE(session.text(u"Label6"_s), u"4096 MB"_s);
    QCOMPARE(session.text(u"Label8"_s), u"0 MB"_s);
    QCOMPARE(session.text(u"Label10"_s), u"37 %"_s);
    QCOMPARE(session.control(u"ProgressBar1"_s).value(u"position"_s).toInt(), 37);
    // The value labels keep their left edges as they grow.
    for (const QString &name : {u"Label2"_s, u"Label4"_s, u"Label6"_s, u"Label8"_s})
        QCOMPARE(session.control(name).value(u"geometry"_s).toArray().at(0).toInt(), 152);
}

void tst_MemoryPage::loadBarStaysWithinItsRange()
{
    const struct
    {
        quint32 load;
        QString text;
        int position;
    } cases[] = {{0, u"0 %"_s, 0}, {100, u"100 %"_s, 100}, {37, u"37 %"_s, 37}, {250, u"250 %"_s, 100}};
    Session session;
    for (const auto &c : cases) {
        session.steps("[ { \"fixture\": " + memoryJson({GiB, GiB, GiB, GiB, c.load}) + " } ]");
        session->window().Timer2Timer();
        QCOMPARE(session.text(u"Label10"_s), c.text);
        QCOMPARE(session.control(u"ProgressBar1"_s).value(u"position"_s).toInt(), c.position);
    }
}

void tst_MemoryPage::rowFollowsTheShareAvailable_data()
{
    QTest::addColumn<quint64>("available");
    QTest::addColumn<int>("row");
    QTest::newRow("all available") << 16 * GiB << 89;
    QTest::newRow("none available") << quint64(0) << 0;
    QTest::newRow("exactly half") << 8 * GiB << 44;
    QTest::newRow("above 4 GiB") << 12 * GiB << 66;
}

void tst_MemoryPage::rowFollowsTheShareAvailable()
{
    QFETCH(quint64, available);
    QFETCH(int, row);
    GraphSession graph({16 * GiB, available, 16 * GiB, available, 0});
    graph.ticks(2);
    // The first segment starts where the pen starts, the top-left corner.
    QCOMPARE(graph.segments(u"PaintBox1"_s), (QJsonArray{line(0, 0, 0, row), line(0, row, 1, row)}));
    QCOMPARE(graph.segments(u"PaintBox2"_s), graph.segments(u"PaintBox1"_s));
    QCOMPARE(graph.pen(u"PaintBox1"_s), (QJsonArray{1, row}));
    QCOMPARE(graph.column(), 2);
    QCOMPARE(graph.session().control(u"PaintBox1"_s).value(u"penColor"_s).toString(), u"#FFFFFF"_s);
    QCOMPARE(graph.session().control(u"PaintBox2"_s).value(u"penColor"_s).toString(), u"#FF0000"_s);
}

void tst_MemoryPage::sweepWrapsAfterColumn309()
{
    GraphSession graph(halfFree);
    graph.ticks(309);
    QCOMPARE(graph.column(), 309);
    QCOMPARE(graph.segments(u"PaintBox1"_s).size(), 309);
    QCOMPARE(graph.segments(u"PaintBox2"_s).last().toArray(), line(307, 44, 308, 44));

    graph.ticks(1); // draws column 309, then wraps
    QCOMPARE(graph.column(), 0);
    for (const QString &box : {u"PaintBox1"_s, u"PaintBox2"_s}) {
        QVERIFY(graph.segments(box).isEmpty());
        QCOMPARE(graph.pen(box), (QJsonArray{0, 89}));
    }

    graph.ticks(1);
    QCOMPARE(graph.segments(u"PaintBox1"_s), QJsonArray{line(0, 89, 0, 44)});
    QCOMPARE(graph.column(), 1);
}

void tst_MemoryPage::pageChangeRestartsTheGraph()
{
    GraphSession graph(halfFree);
    graph.ticks(5);
    graph.session().page(1);
    QCOMPARE(graph.column(), 0);
    for (const QString &box : {u"PaintBox1"_s, u"PaintBox2"_s}) {
        QVERIFY(graph.segments(box).isEmpty());
        QCOMPARE(graph.pen(box), (QJsonArray{0, 89}));
    }
    graph.ticks(1);
    QCOMPARE(graph.segments(u"PaintBox2"_s), QJsonArray{line(0, 89, 0, 44)});

    // Clicking the tab already shown is no change of page.
    graph.session().page(1);
    QCOMPARE(graph.column(), 1);
    QCOMPARE(graph.segments(u"PaintBox2"_s).size(), 1);
}

void tst_MemoryPage::totalOfZeroDrawsNothing()
{
    GraphSession graph(halfFree);
    graph.ticks(3);
    graph.setMemory({0, 0, 0, 0, 0});
    graph.ticks(2);
    QCOMPARE(graph.column(), 3);
    QCOMPARE(graph.segments(u"PaintBox1"_s).size(), 3);
    QCOMPARE(graph.segments(u"PaintBox2"_s).size(), 3);
    graph.setMemory(halfFree);
    graph.ticks(1);
    QCOMPARE(graph.segments(u"PaintBox1"_s).last().toArray(), line(2, 44, 3, 44));
}

void tst_MemoryPage::pageFileTotalOfZeroDrawsThePhysicalLineAlone()
{
    GraphSession graph({8 * GiB, 2 * GiB, 0, 0, 75});
    graph.ticks(2);
    // Both ticks draw the white line in the same column, since the column never moves on.
    QCOMPARE(graph.segments(u"PaintBox1"_s), (QJsonArray{line(0, 0, 0, 22), line(0, 22, 0, 22)}));
    QVERIFY(graph.segments(u"PaintBox2"_s).isEmpty());
    QCOMPARE(graph.column(), 0);
}

void tst_MemoryPage::rowBeyondAnIntegerDrawsNothing()
{
    // Available far above the total: a row of about 8e20, which no integer holds.
    GraphSession graph({1, quint64(1) << 63, 1, 1, 0});
    graph.ticks(1);
    QVERIFY(graph.segments(u"PaintBox1"_s).isEmpty());
    QCOMPARE(graph.column(), 0);

    // A row that an integer holds is drawn, clipped away below the surface.
    graph.setMemory({1, 24129029, 1, 1, 0});
    graph.ticks(1);
    QCOMPARE(graph.segments(u"PaintBox1"_s), QJsonArray{line(0, 0, 0, 2147483581)});
    QCOMPARE(graph.column(), 1);
}

void tst_MemoryPage::windowRepaintKeepsTheLines()
{
    GraphSession graph({8 * GiB, 4 * GiB, 8 * GiB, 8 * GiB, 50}); // white in row 44, red clipped away
    graph.session().page(1);
    graph.ticks(10);
    auto *plot = graph.window().findChild<QGroupBox *>(u"GroupBox3"_s);
    const QPoint onTheLine(16 + 5, 24 + 44);
    // grab() paints the group box afresh, as a repaint the window system asks for does.
    QCOMPARE(plot->grab().toImage().pixelColor(onTheLine), QColor(Qt::white));
    graph.window().repaint();
    QCOMPARE(plot->grab().toImage().pixelColor(onTheLine), QColor(Qt::white));

    graph.session().page(0);
    graph.session().page(1);
    QVERIFY(plot->grab().toImage().pixelColor(onTheLine) != QColor(Qt::white));
}

QTEST_MAIN(tst_MemoryPage)
#include "tst_memorypage.moc"

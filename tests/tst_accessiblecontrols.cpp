// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/drawing/TImage.h"
#include "support/Session.h"

#include <QAccessible>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Machine = R"({
    "cpuid": { "leaves": { "0x0": ["0x1", "0x756E6547", "0x00656E69", "0x49656E69"] } },
    "memory": [ { "load": 37, "totalPhys": 1000, "availPhys": 630, "totalPageFile": 1000, "availPageFile": 790 } ],
    "host": { "name": "pc1", "addresses": ["192.0.2.2"] },
    "drives": [ { "letter": "C", "type": 3, "label": "System", "serial": "0x0A1B2C3D", "fileSystem": "NTFS",
                  "totalBytes": 1048576000, "freeBytes": 524288000 } ],
    "uninstall": { "keys": [
        { "name": "b", "values": { "DisplayName": { "type": "REG_SZ", "data": "Beta" },
                                   "UninstallString": { "type": "REG_SZ", "data": "snap remove beta" } } },
        { "name": "a", "values": { "DisplayName": { "type": "REG_SZ", "data": "Alpha" } } } ] },
    "shell": { "opens": [ true ] }
})";

QAccessibleInterface *accessible(Session &session, const QString &name)
{
    auto *control = session->window().findChild<QWidget *>(name);
    return control ? QAccessible::queryAccessibleInterface(control) : nullptr;
}

QString wholeText(QAccessibleInterface *control)
{
    QAccessibleTextInterface *text = control->textInterface();
    return text ? text->text(0, text->characterCount()) : QString();
}

} // namespace

class tst_AccessibleControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }
    void valueLabelsAreNamedByTheirCaptions();
    void valueLabelsAreNamedByTheirCaptions_data();
    void colourSupportIsNamedByWhatItSays();
    void everyControlHasAName();
    void processorReportReadsAsItsLines();
    void graphDescribesItselfAndKeepsCurrent();
    void programsReadWithTheirRemovalCommand();
    void linkCanBePressed();
};

void tst_AccessibleControls::valueLabelsAreNamedByTheirCaptions_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const auto row = [](const QString &value, const QString &caption, const QString &text) {
        QTest::newRow(qPrintable(value)) << value << caption << text;
    };
    row(u"Label2"_s, u"总的物理内存:"_s, u"0 MB"_s);
    row(u"Label4"_s, u"可用物理内存:"_s, u"0 MB"_s);
    row(u"Label6"_s, u"总的虚拟内存:"_s, u"0 MB"_s);
    row(u"Label8"_s, u"可用虚拟内存:"_s, u"0 MB"_s);
    row(u"Label10"_s, u"已加载内存:"_s, u"37 %"_s);
    row(u"Label16"_s, u"驱动器序列号:"_s, u"Label = System   VolSer = 0A1B2C3D"_s);
    row(u"Label14"_s, u"驱动器分区类型:"_s, u"NTFS"_s);
    row(u"Label33"_s, u"驱动器类型:"_s, u"<Unknown>"_s); // written when the page first opens
    row(u"Label22"_s, u"总磁盘大小:"_s, u"1000 MB"_s);
    row(u"Label24"_s, u"磁盘空闲:"_s, u"500 MB"_s);
    row(u"Label26"_s, u"默认打印机名称:"_s, u"<Unknown>"_s);
    row(u"Label25"_s, u"打印机精度:"_s, u"<Unknown>"_s);
    row(u"Label17"_s, u"计算机IP地址:"_s, u"192.0.2.2"_s);
    row(u"Label19"_s, u"计算机名"_s, u"pc1"_s);
    row(u"Label31"_s, u"系统运行时间:"_s, u"运行时间: 0 天 0 小时 0 分 0 秒"_s);
}

void tst_AccessibleControls::valueLabelsAreNamedByTheirCaptions()
{
    QFETCH(QString, value);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    Session session(Machine);
    session.wait(1200);
    QAccessibleInterface *label = accessible(session, value);
    QVERIFY(label);
    QCOMPARE(label->role(), QAccessible::StaticText);
    QCOMPARE(label->text(QAccessible::Name), caption);
    QCOMPARE(label->text(QAccessible::Value), text);
    QCOMPARE(wholeText(label), text);
}

// The printer's colour support stands under the default printer's caption, which is not its name.
void tst_AccessibleControls::colourSupportIsNamedByWhatItSays()
{
    Session session(Machine);
    session.wait(1200);
    QAccessibleInterface *label = accessible(session, u"Label27"_s);
    QVERIFY(label);
    QCOMPARE(label->text(QAccessible::Name), session.text(u"Label27"_s));
}

void tst_AccessibleControls::everyControlHasAName()
{
    Session session(Machine);
    session.wait(1200);
    const QJsonObject controls = session.dump()[u"controls"_s].toObject();
    QStringList names = controls.keys();
    for (int page = 0; page < 7; ++page)
        names.append(u"page%1"_s.arg(page));
    for (const QString &name : std::as_const(names)) {
        QAccessibleInterface *control = accessible(session, name);
        QVERIFY2(control && !control->text(QAccessible::Name).isEmpty(), qPrintable(name));
    }
    QCOMPARE(accessible(session, u"page5"_s)->text(QAccessible::Name), u"其他"_s);
}

void tst_AccessibleControls::processorReportReadsAsItsLines()
{
    Session session(Machine);
    session.wait(100);
    QAccessibleInterface *report = accessible(session, u"Img_Info"_s);
    QCOMPARE(report->text(QAccessible::Name), u"处理器"_s);
    const QStringList lines = wholeText(report).split(u'\n');
    QCOMPARE(lines.value(1), u"   - 供货商ID: GenuineIine"_s); // its NUL left out
    QCOMPARE(lines, session->window().findChild<TImage *>(u"Img_Info"_s)->textLines());
}

void tst_AccessibleControls::graphDescribesItselfAndKeepsCurrent()
{
    Session session(Machine);
    session.wait(250);
    for (const QString &name : {u"GroupBox3"_s, u"PaintBox1"_s, u"PaintBox2"_s})
        QCOMPARE(accessible(session, name)->text(QAccessible::Description), u"物理内存 37 %, 虚拟内存 21 %"_s);
    QCOMPARE(accessible(session, u"PaintBox1"_s)->role(), QAccessible::Chart);
    session.steps(R"([{ "fixture": { "memory": [ { "totalPhys": 1000, "availPhys": 500,
                                                     "totalPageFile": 0, "availPageFile": 0 } ] } },
                      { "wait": 250 }])");
    QCOMPARE(accessible(session, u"GroupBox3"_s)->text(QAccessible::Description), u"物理内存 50 %, 虚拟内存 0 %"_s);
}

void tst_AccessibleControls::programsReadWithTheirRemovalCommand()
{
    Session session(Machine);
    session.wait(700);
    QAccessibleInterface *list = accessible(session, u"ListView1"_s);
    QCOMPARE(list->text(QAccessible::Name), u"已安装的软件"_s);
    QCOMPARE(list->childCount(), 2);
    QCOMPARE(list->child(0)->text(QAccessible::Name), u"Alpha"_s);
    QCOMPARE(list->child(0)->text(QAccessible::Description), QString());
    QCOMPARE(list->child(1)->text(QAccessible::Name), u"Beta"_s);
    QCOMPARE(list->child(1)->text(QAccessible::Description), u"snap remove beta"_s);
}

void tst_AccessibleControls::linkCanBePressed()
{
    Session session(Machine);
    QAccessibleInterface *link = accessible(session, u"UrlLabel1"_s);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), u"https://pelzora.org/"_s);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(session.control(u"UrlLabel1"_s)[u"visited"_s].toBool());
}

QTEST_MAIN(tst_AccessibleControls)
#include "tst_accessiblecontrols.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/drives/DriveIcons.h"
#include "controls/drives/DriveItemDelegate.h"
#include "controls/drives/TDriveComboBox.h"
#include "support/Session.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A removable drive A, a fixed drive C labelled "System", an optical drive D without a disc.
const QByteArray ThreeDrives = R"({ "currentDirectory": "C:\\Users\\ann",
    "drives": [ { "letter": "A", "type": 2, "label": "FLOPPY" },
                { "letter": "C", "type": 3, "label": "System", "serial": "0x0A1B2C3D", "fileSystem": "NTFS" },
                { "letter": "D", "type": 5, "ready": false } ] })";

TDriveComboBox *selectorOf(Session &session)
{
    return session->window().findChild<TDriveComboBox *>(u"DriveComboBox1"_s);
}

int changes(const Session &session)
{
    return session.dump().value(u"events"_s).toObject().value(u"DriveComboBox1Change"_s).toInt();
}

QStringList items(const Session &session)
{
    return session.control(u"DriveComboBox1"_s).value(u"items"_s).toVariant().toStringList();
}

QString driveLetter(const Session &session)
{
    return session.control(u"DriveComboBox1"_s).value(u"driveLetter"_s).toString();
}

int selected(const Session &session)
{
    return session.control(u"DriveComboBox1"_s).value(u"selected"_s).toInt();
}

// The disk steps of the tick would change nothing these tests look at, but keep them still.
void stopTicks(Session &session)
{
    session->window().timers().at(4)->setEnabled(false);
}

} // namespace

class tst_DriveComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsDrivesWithIconsAndLoweredTexts();
    void startedOnDriveC();
    void startedOnANetworkPath();
    void picksAnnounceTwiceForAnotherDriveOnceForTheSame();
    void listIsBuiltOnceNotAtEveryShowing();
    void newFontRebuildsTheListAndAnnouncesAgain();
    void textsOfEveryDriveType();
    void iconsAreSixteenByElevenInSixteenColours();
    void itemDrawing();
    void followsDrivesAsTheyComeAndGo();
    void stormOfChangesEndsInTheLastTable();
};

void tst_DriveComboBox::listsDrivesWithIconsAndLoweredTexts()
{
    Session session(ThreeDrives);
    session.page(2);
    QCOMPARE(items(session), (QStringList{u"a:"_s, u"c: [system]"_s, u"d: []"_s}));
    const TDriveComboBox *selector = selectorOf(session);
    QCOMPARE(selector->itemData(0).toInt(), int(DriveIcons::Floppy));
    QCOMPARE(selector->itemData(1).toInt(), int(DriveIcons::Hard));
    QCOMPARE(selector->itemData(2).toInt(), int(DriveIcons::CdRom));
    QCOMPARE(selector->maxVisibleItems(), 8);
    QVERIFY(!selector->isEditable());
}

void tst_DriveComboBox::startedOnDriveC()
{
    Session session(ThreeDrives);
    stopTicks(session);
    session.wait(20);
    QCOMPARE(driveLetter(session), u"C"_s);
    QCOMPARE(items(session), QStringList());
    QCOMPARE(changes(session), 0);
    session.page(2);
    QCOMPARE(driveLetter(session), u"c"_s);
    QCOMPARE(selected(session), 1);
    QCOMPARE(changes(session), 1);
}

void tst_DriveComboBox::startedOnANetworkPath()
{
    Session session(R"({ "currentDirectory": "\\\\server\\share\\ann",
                         "drives": [ { "letter": "C", "type": 3 } ] })");
    stopTicks(session);
    QCOMPARE(driveLetter(session), QString());
    session.page(2);
    QCOMPARE(driveLetter(session), QString());
    QCOMPARE(selected(session), -1);
    QCOMPARE(changes(session), 1);
    // Picking a drive from there works as from any other.
    session.steps(R"([ { "pick": "c" } ])");
    QCOMPARE(driveLetter(session), u"c"_s);
    QCOMPARE(changes(session), 3);
}

void tst_DriveComboBox::picksAnnounceTwiceForAnotherDriveOnceForTheSame()
{
    Session session(ThreeDrives);
    stopTicks(session);
    session.page(2);
    session.steps(R"([ { "pick": "a" } ])");
    QCOMPARE(changes(session), 3);
    QCOMPARE(driveLetter(session), u"a"_s);
    QCOMPARE(selected(session), 0);
    session.steps(R"([ { "pick": "a" } ])");
    QCOMPARE(changes(session), 4);
    session.steps(R"([ { "pick": "c" } ])");
    QCOMPARE(changes(session), 6);
    QCOMPARE(selected(session), 1);
    // A pick by the user in the drop-down goes the same way: the view reports the item.
    TDriveComboBox *selector = selectorOf(session);
    selector->setCurrentIndex(2);
    Q_EMIT selector->activated(2);
    QCOMPARE(changes(session), 8);
    QCOMPARE(driveLetter(session), u"d"_s);
}

void tst_DriveComboBox::listIsBuiltOnceNotAtEveryShowing()
{
    Session session(ThreeDrives);
    stopTicks(session);
    session.page(2);
    session.steps(R"([ { "fixture": { "drives": [ { "letter": "E", "type": 3 } ] } } ])");
    session.page(0);
    session.page(2);
    QCOMPARE(changes(session), 1);
    QCOMPARE(items(session), (QStringList{u"a:"_s, u"c: [system]"_s, u"d: []"_s}));
}

void tst_DriveComboBox::newFontRebuildsTheListAndAnnouncesAgain()
{
    Session session(ThreeDrives);
    stopTicks(session);
    TDriveComboBox *selector = selectorOf(session);
    QFont bigger = selector->font();
    bigger.setPixelSize(20);
    selector->setFont(bigger);
    QCOMPARE(changes(session), 0); // not shown yet: no list to rebuild
    QCOMPARE(selector->ItemHeight(), QFontMetrics(bigger).height());
    session.page(2);
    QCOMPARE(changes(session), 1);
    bigger.setPixelSize(24);
    session.steps(R"([ { "fixture": { "drives": [ { "letter": "E", "type": 6, "label": "Ram" } ] } } ])");
    selector->setFont(bigger);
    QCOMPARE(changes(session), 2);
    QCOMPARE(items(session), QStringList{u"e: [ram]"_s});
    QCOMPARE(selected(session), -1); // c is gone; the letter stays
    QCOMPARE(driveLetter(session), u"c"_s);
}

void tst_DriveComboBox::textsOfEveryDriveType()
{
    Session session(R"({ "drives": [
        { "letter": "B", "type": 0 },
        { "letter": "C", "type": 3, "label": "Daten-ÄÖ Über" },
        { "letter": "E", "type": 1 },
        { "letter": "F", "type": 4, "remoteName": "\\\\FileServer\\Office$", "label": "Share" },
        { "letter": "G", "type": 4, "remoteName": null, "label": "Fallback" },
        { "letter": "H", "type": 6, "label": "RAMDISK" },
        { "letter": "I", "type": 3, "label": "Cut\u0000Off" },
        { "letter": "J", "type": 3, "label": "Gone", "volumeQueryFails": true },
        { "letter": "K", "type": 9 } ] })");
    session.page(2);
    // Only A to Z are lowered, as in a double-byte code page.
    QCOMPARE(items(session),
             (QStringList{u"c: [daten-ÄÖ Über]"_s, u"f: \\\\fileserver\\office$"_s, u"g: [fallback]"_s,
                          u"h: [ramdisk]"_s, u"i: [cut]"_s, u"j: []"_s}));
    const TDriveComboBox *selector = selectorOf(session);
    QCOMPARE(selector->itemData(1).toInt(), int(DriveIcons::Network));
    QCOMPARE(selector->itemData(3).toInt(), int(DriveIcons::Ram));
}

void tst_DriveComboBox::iconsAreSixteenByElevenInSixteenColours()
{
    const DriveIcons icons;
    for (int kind = 0; kind < DriveIcons::KindCount; ++kind) {
        const QImage picture = DriveIcons::picture(DriveIcons::Kind(kind));
        QCOMPARE(picture.size(), QSize(16, 11));
        QVERIFY(picture.colorCount() <= 16);
        // The bottom-left pixel's colour is transparent wherever it is used, and only there.
        const QRgb transparent = picture.pixel(0, 10);
        const QImage drawn = icons.pixmap(DriveIcons::Kind(kind)).toImage();
        QCOMPARE(drawn.size(), QSize(16, 11));
        int opaque = 0;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool clear = qAlpha(drawn.pixel(x, y)) == 0;
                QCOMPARE(clear, picture.pixel(x, y) == transparent);
                opaque += clear ? 0 : 1;
            }
        QVERIFY(opaque > 20);
    }
}

void tst_DriveComboBox::itemDrawing()
{
    Session session(ThreeDrives);
    session.page(2);
    const TDriveComboBox *selector = selectorOf(session);
    const QPalette palette = selector->palette();
    const auto draw = [&](int index, bool selectedItem) {
        QImage image(100, 20, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        painter.setFont(selector->font());
        DriveItemDelegate::paintItem(&painter, QRect(0, 3, 100, 14), index < 0 ? QString() : selector->itemText(index),
                                     index < 0 ? nullptr : selector->itemIcon(index), selectedItem, false, selector);
        return image;
    };
    // The icon sits 2 pixels in, centred: top (3 + 17 - 11) / 2 = 4; its transparent pixels show the background.
    const QImage hard = draw(1, false);
    const QImage picture = DriveIcons::picture(DriveIcons::Hard);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb expected = picture.pixel(x, y) == picture.pixel(0, 10) ? palette.color(QPalette::Base).rgb()
                                                                              : picture.pixel(x, y);
            QCOMPARE(hard.pixel(2 + x, 4 + y), expected);
        }
    QCOMPARE(hard.pixel(0, 3), palette.color(QPalette::Base).rgb());
    QCOMPARE(hard.pixel(0, 2), QColor(Qt::magenta).rgb()); // nothing outside the item
    // Text starts 22 pixels in; nothing is drawn between icon and text.
    bool textDrawn = false;
    for (int y = 3; y < 17; ++y) {
        QCOMPARE(hard.pixel(20, y), palette.color(QPalette::Base).rgb());
        for (int x = 22; x < 100; ++x)
            textDrawn = textDrawn || hard.pixel(x, y) != palette.color(QPalette::Base).rgb();
    }
    QVERIFY(textDrawn);
    QCOMPARE(draw(1, true).pixel(0, 3), palette.color(QPalette::Highlight).rgb());
    // No item: only the background.
    const QImage empty = draw(-1, false);
    for (int x = 0; x < 100; x += 7)
        QCOMPARE(empty.pixel(x, 10), palette.color(QPalette::Base).rgb());
}

void tst_DriveComboBox::followsDrivesAsTheyComeAndGo()
{
    const QString system =
        uR"({ "letter": "C", "type": 3, "label": "System", "mountPoint": "/", "device": "/dev/sda2" })"_s;
    const QString home = uR"({ "letter": "D", "type": 3, "mountPoint": "/home", "device": "/dev/sda3" })"_s;
    const QString usb =
        uR"({ "letter": "F", "type": 2, "mountPoint": "/media/ann/STICK\nTWO", "device": "/dev/sdb1" })"_s;
    const QString stick = uR"({ "letter": "E", "type": 3, "mountPoint": "/media/ann/gy_pq", "device": "/dev/sdc1" })"_s;
    const auto mountTable = [&](const QStringList &drives) {
        return uR"([ { "fixture": { "drives": [ %1 ] } }, { "wait": %2 } ])"_s.arg(drives.join(u','))
            .arg(TDriveComboBox::RefreshDelay.count() + 100)
            .toUtf8();
    };
    Session session(uR"({ "currentDirectory": "C:\\", "drives": [ %1, %2 ] })"_s.arg(system, home).toUtf8());
    stopTicks(session);
    session.page(2);
    session.steps(R"([ { "pick": "d" } ])");
    QCOMPARE(changes(session), 3);
    QCOMPARE(session.control(u"DriveComboBox1"_s)[u"itemToolTips"_s].toVariant().toStringList(),
             (QStringList{u"挂载点: /\n设备: /dev/sda2"_s, u"挂载点: /home\n设备: /dev/sda3"_s}));

    // Two drives mounted: they join in letter order, and the chosen drive stays chosen without a word.
    session.steps(mountTable({system, home, usb, stick}));
    QCOMPARE(items(session), (QStringList{u"c: [system]"_s, u"d: []"_s, u"e: []"_s, u"f:"_s}));
    QCOMPARE(selected(session), 1);
    QCOMPARE(changes(session), 3);
    // A name's control characters show as their pictures.
    QCOMPARE(selectorOf(session)->itemToolTip(3), u"挂载点: /media/ann/STICK\u240ATWO\n设备: /dev/sdb1"_s);

    // The chosen drive unmounted: the root drive is picked as the user picks it.
    session.steps(mountTable({system, usb, stick}));
    QCOMPARE(items(session), (QStringList{u"c: [system]"_s, u"e: []"_s, u"f:"_s}));
    QCOMPARE(driveLetter(session), u"c"_s);
    QCOMPARE(selected(session), 0);
    QCOMPARE(changes(session), 5);
    QCOMPARE(session.text(u"Label33"_s), u"固定驱动器"_s);
}

// A mount and unmount loop: the list follows a few times a second, the window answers
// all the while, and what stays is the table as the storm left it.
void tst_DriveComboBox::stormOfChangesEndsInTheLastTable()
{
    Session session(R"({ "currentDirectory": "C:\\", "drives": [ { "letter": "C", "type": 3 } ] })");
    stopTicks(session);
    session.page(2);
    QElapsedTimer storm;
    storm.start();
    qint64 longestStall = 0;
    for (int change = 0; change < 1000; ++change) {
        QElapsedTimer stall;
        stall.start();
        session.steps(change % 2 ? R"([ { "fixture": { "drives": [ { "letter": "C", "type": 3 } ] } } ])"
                                 : R"([ { "fixture": { "drives": [ { "letter": "C", "type": 3 },
                                                                  { "letter": "D", "type": 2 } ] } } ])");
        QCoreApplication::processEvents();
        longestStall = std::max(longestStall, stall.elapsed());
    }
    QCOMPARE_LT(longestStall, 50);
    session.wait(int(TDriveComboBox::RefreshDelay.count()) + 100);
    QCOMPARE(items(session), QStringList{u"c: []"_s});
    QCOMPARE(driveLetter(session), u"c"_s);
}

QTEST_MAIN(tst_DriveComboBox)
#include "tst_drivecombobox.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UiLanguage.h"
#include "app/UnitFormMain.h"
#include "controls/OneRowTabBar.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drawing/TImage.h"
#include "controls/text/TLabel.h"
#include "support/Session.h"
#include "support/TestData.h"

#include <QGroupBox>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using Language = UiLanguage::Language;

namespace {

QString where(const QWidget &control)
{
    return control.objectName().isEmpty() ? QString::fromLatin1(control.metaObject()->className())
                                          : control.objectName();
}

// A label's text ends inside its box's frame and the window, and covers no other control.
void checkLabel(const TLabel &label, const QWidget &window, QStringList &faults)
{
    const QWidget &parent = *label.parentWidget();
    const QRect text = label.geometry();
    const QRect room = parent.contentsRect();
    if (text.left() < room.left() || text.right() > room.right() || label.isElided())
        faults.append(u"%1 \"%2\" leaves %3"_s.arg(where(label), label.caption(), where(parent)));
    if (!window.rect().contains(QRect(label.mapTo(&window, QPoint(0, 0)), text.size())))
        faults.append(u"%1 \"%2\" leaves the window"_s.arg(where(label), label.caption()));
    for (const QWidget *other : parent.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (other != &label && other->isVisibleTo(&parent) && other->geometry().intersects(text))
            faults.append(u"%1 \"%2\" overlaps %3"_s.arg(where(label), label.caption(), where(*other)));
}

// A group box's title stands on its frame, inside the box.
void checkTitle(const QGroupBox &box, QStringList &faults)
{
    if (box.title().isEmpty())
        return;
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect title = box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    const int needed = box.fontMetrics().horizontalAdvance(box.title());
    if (title.width() < needed || !box.rect().contains(title))
        faults.append(u"%1's title \"%2\" leaves the box"_s.arg(where(box), box.title()));
}

// Every text drawn on the processor report ends inside the image.
void checkImage(const TImage &image, QStringList &faults)
{
    for (const TImage::TextRun &run : image.runs())
        if (run.position.x() + TImage::textWidth(run.text, run.font) > image.width())
            faults.append(u"%1: \"%2\" runs past the image"_s.arg(where(image), run.text));
}

// Every tab in one row, each caption whole, no scroll buttons.
void checkTabs(const TTabbedNotebook &notebook, QStringList &faults)
{
    const auto *tabs = notebook.findChild<OneRowTabBar *>();
    for (const QToolButton *arrow : tabs->findChildren<QToolButton *>())
        if (arrow->isVisible())
            faults.append(u"the tabs scroll"_s);
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = tabs->tabRect(i);
        if (tab.right() > tabs->width() || tab.width() < tabs->captionWidth(i) + 8)
            faults.append(u"tab \"%1\" has no room"_s.arg(tabs->tabText(i)));
    }
}

} // namespace

// Every page laid out at the window's font in each language and at this process's scale
// (ctest runs it at 1 and 2): the window's size and positions are fixed, so every text must
// fit the room its control has.
class tst_WindowFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { UiLanguage::install(Language::Chinese); }
    void everyTextHasItsRoom_data();
    void everyTextHasItsRoom();
};

void tst_WindowFit::everyTextHasItsRoom_data()
{
    const QString desktop = u"" PELZORA_DESKTOP_FIXTURE ""_s;
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("fixture");
    // The other texts of each label: a removable drive, a black-and-white default printer.
    QTest::addColumn<QByteArray>("then");
    const QByteArray others = R"([ { "page": 2 }, { "pick": "e" }, { "fixture": { "printers": { "list": [
        { "name": "HP_LaserJet_M404", "dmColor": 1, "colorFlag": false, "dpi": [600, 600] } ],
        "default": "HP_LaserJet_M404" } } }, { "wait": 1200 } ])";
    for (const Language language : {Language::Chinese, Language::English}) {
        const char *name = language == Language::English ? "English" : "Chinese";
        QTest::addRow("%s, desktop", name) << language << desktop << QByteArray("[]");
        QTest::addRow("%s, the other texts", name) << language << desktop << others;
        QTest::addRow("%s, Arm board", name)
            << language << u"" PELZORA_TEST_DATA "/cpuinfo/rk3588.json"_s << QByteArray("[]");
        QTest::addRow("%s, RISC-V board", name)
            << language << u"" PELZORA_TEST_DATA "/cpuinfo/visionfive-2.json"_s << QByteArray("[]");
    }
}

void tst_WindowFit::everyTextHasItsRoom()
{
    QFETCH(Language, language);
    QFETCH(QString, fixture);
    QFETCH(QByteArray, then);
    UiLanguage::install(language);
    Session session(testData(fixture));
    session.wait(1500);
    session.steps(then);
    const TFormMain &window = session->window();
    QCOMPARE(window.size(), TFormMain::ClientSize);
    QStringList faults;
    const TTabbedNotebook *notebook = window.notebook();
    for (int page = 0; page < notebook->pageCount(); ++page) {
        session.page(page);
        const QWidget &shown = *notebook->page(page);
        for (const TLabel *label : shown.findChildren<TLabel *>())
            if (label->isVisibleTo(&shown))
                checkLabel(*label, window, faults);
        for (const QGroupBox *box : shown.findChildren<QGroupBox *>())
            checkTitle(*box, faults);
        for (const TImage *image : shown.findChildren<TImage *>())
            checkImage(*image, faults);
    }
    checkTabs(*notebook, faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(tst_WindowFit)
#include "tst_windowfit.moc"

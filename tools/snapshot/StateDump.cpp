// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateDump.h"

#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drawing/TImage.h"
#include "controls/drawing/TPaintBox.h"
#include "controls/drawing/TShape.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/lists/TFileListBox.h"
#include "controls/lists/TListBox.h"
#include "controls/lists/TListView.h"
#include "controls/text/PrimarySelection.h"
#include "controls/text/TLabel.h"
#include "controls/text/TUrlLabel.h"
#include "pages/MemoryPage.h"
#include "platform/DriveSource.h"
#include "platform/Platform.h"
#include "platform/fake/FakeMachine.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QJsonArray>
#include <QProgressBar>

using namespace Qt::StringLiterals;

namespace {

QString colorName(const QColor &color)
{
    return color.name(QColor::HexRgb).toUpper();
}

QJsonArray toArray(const QStringList &texts)
{
    return QJsonArray::fromStringList(texts);
}

QJsonObject fontOf(const QFont &font)
{
    return {{u"family"_s, font.family()},
            {u"pixelSize"_s, font.pixelSize()},
            {u"bold"_s, font.bold()},
            {u"underline"_s, font.underline()}};
}

QString kindOf(const QWidget *w)
{
    if (qobject_cast<const TUrlLabel *>(w))
        return u"urllabel"_s;
    if (qobject_cast<const TLabel *>(w))
        return u"label"_s;
    if (qobject_cast<const QGroupBox *>(w))
        return u"groupbox"_s;
    if (qobject_cast<const TDriveComboBox *>(w))
        return u"drivecombobox"_s;
    if (qobject_cast<const TFileListBox *>(w))
        return u"filelistbox"_s;
    if (qobject_cast<const TListView *>(w))
        return u"listview"_s;
    if (qobject_cast<const TListBox *>(w))
        return u"listbox"_s;
    if (qobject_cast<const QProgressBar *>(w))
        return u"progressbar"_s;
    if (qobject_cast<const TShape *>(w))
        return u"shape"_s;
    if (qobject_cast<const TPaintBox *>(w))
        return u"paintbox"_s;
    if (qobject_cast<const TImage *>(w))
        return u"image"_s;
    if (qobject_cast<const TTabbedNotebook *>(w))
        return u"notebook"_s;
    return {};
}

void addLabel(QJsonObject &o, const TLabel *label)
{
    o[u"text"_s] = label->caption();
    o[u"color"_s] = colorName(label->textColor());
    o[u"alignment"_s] = label->isRightJustified() ? u"right"_s : u"left"_s;
    o[u"elided"_s] = label->isElided();
    o[u"toolTip"_s] = label->toolTipText();
    if (const auto *link = qobject_cast<const TUrlLabel *>(label)) {
        o[u"url"_s] = link->url();
        o[u"visited"_s] = link->isVisited();
    }
}

void addImage(QJsonObject &o, const TImage *image)
{
    QJsonArray runs;
    for (const TImage::TextRun &run : image->runs())
        runs.append(QJsonObject{{u"x"_s, run.position.x()},
                                {u"y"_s, run.position.y()},
                                {u"color"_s, colorName(run.color)},
                                {u"text"_s, run.text}});
    o[u"runs"_s] = runs;
}

void addPaintBox(QJsonObject &o, const TPaintBox *box)
{
    QJsonArray segments;
    for (const QLine &line : box->segments())
        segments.append(QJsonArray{line.x1(), line.y1(), line.x2(), line.y2()});
    o[u"segments"_s] = segments;
    o[u"pen"_s] = QJsonArray{box->penPosition().x(), box->penPosition().y()};
    o[u"penColor"_s] = colorName(box->penColor());
}

void addListView(QJsonObject &o, const TListView *view)
{
    QJsonArray items;
    for (const TListView::Item &item : view->viewItems())
        items.append(QJsonObject{{u"caption"_s, item.caption}, {u"sub"_s, toArray(item.subItems)}});
    o[u"viewItems"_s] = items;
}

void addDriveSelector(QJsonObject &o, const TDriveComboBox *selector)
{
    QStringList items;
    QStringList toolTips;
    for (int i = 0; i < selector->count(); ++i) {
        items.append(selector->itemText(i));
        toolTips.append(selector->itemToolTip(i));
    }
    o[u"items"_s] = toArray(items);
    o[u"itemToolTips"_s] = toArray(toolTips);
    o[u"selected"_s] = selector->currentIndex();
    o[u"driveLetter"_s] = selector->driveLetter().isNull() ? QString() : QString(selector->driveLetter());
}

QJsonObject describe(const QWidget *w, const QString &kind)
{
    QJsonObject o{{u"kind"_s, kind},
                  {u"parent"_s, w->parentWidget() ? w->parentWidget()->objectName() : QString()},
                  {u"geometry"_s, QJsonArray{w->x(), w->y(), w->width(), w->height()}},
                  {u"visible"_s, !w->isHidden()},
                  {u"focusable"_s, (w->focusPolicy() & Qt::TabFocus) != 0},
                  {u"font"_s, fontOf(w->font())}};
    if (const auto *label = qobject_cast<const TLabel *>(w))
        addLabel(o, label);
    else if (const auto *box = qobject_cast<const QGroupBox *>(w)) {
        o[u"text"_s] = box->title();
        o[u"color"_s] = colorName(box->palette().color(QPalette::WindowText));
    } else if (const auto *list = qobject_cast<const TListBox *>(w)) {
        o[u"items"_s] = toArray(list->lines());
        o[u"selected"_s] = list->currentRow();
    } else if (const auto *view = qobject_cast<const TListView *>(w))
        addListView(o, view);
    else if (const auto *selector = qobject_cast<const TDriveComboBox *>(w))
        addDriveSelector(o, selector);
    else if (const auto *bar = qobject_cast<const QProgressBar *>(w))
        o[u"position"_s] = bar->value();
    else if (const auto *image = qobject_cast<const TImage *>(w))
        addImage(o, image);
    else if (const auto *paintBox = qobject_cast<const TPaintBox *>(w))
        addPaintBox(o, paintBox);
    return o;
}

QJsonObject windowOf(const TFormMain &window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    return {{u"title"_s, window.windowTitle()},
            {u"clientWidth"_s, window.width()},
            {u"clientHeight"_s, window.height()},
            {u"fixedSize"_s, window.minimumSize() == window.maximumSize()},
            {u"minimizeButton"_s, flags.testFlag(Qt::WindowMinimizeButtonHint)},
            {u"maximizeButton"_s, flags.testFlag(Qt::WindowMaximizeButtonHint)}};
}

} // namespace

QJsonObject StateDump::capture(const TFormMain &window, Platform &platform, const FakeMachine *machine,
                               const QStringList &reports)
{
    for (TLabel *label : window.findChildren<TLabel *>())
        label->ensureSized();
    QJsonObject controls;
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        const QString kind = kindOf(w);
        if (!kind.isEmpty() && !w->objectName().isEmpty())
            controls[w->objectName()] = describe(w, kind);
    }

    QStringList tabs;
    for (int i = 0; i < window.notebook()->pageCount(); ++i)
        tabs.append(window.notebook()->tabText(i));

    QJsonObject timers;
    for (const TTimer *timer : window.timers())
        timers[timer->objectName()] = QJsonObject{{u"interval"_s, timer->interval()},
                                                  {u"enabled"_s, timer->isEnabled()}};

    QJsonObject events;
    for (auto it = window.events().begin(); it != window.events().end(); ++it)
        events[it.key()] = it.value();

    QJsonObject dump{{u"window"_s, windowOf(window)}, {u"page"_s, window.notebook()->pageIndex()},
                     {u"tabs"_s, toArray(tabs)},      {u"timers"_s, timers},
                     {u"controls"_s, controls},       {u"graphColumn"_s, window.memoryPage()->graphColumn()},
                     {u"events"_s, events},           {u"currentDirectory"_s, platform.drives().currentDirectory()},
                     {u"reports"_s, toArray(reports)}};
    dump[u"clipboard"_s] = QGuiApplication::clipboard()->text();
    dump[u"primarySelection"_s] = PrimarySelection::text();
    if (machine) {
        dump[u"network"_s] = QJsonObject{{u"startups"_s, machine->networkStartups},
                                         {u"cleanups"_s, machine->networkCleanups}};
        dump[u"shellOpened"_s] = toArray(machine->shellOpened);
    }
    return dump;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlRoles.h"

#include "controls/AccessibleControls.h"
#include "controls/drawing/TImage.h"
#include "controls/text/TLabel.h"

#include <QCoreApplication>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

struct ValuePair
{
    QString value;
    QString caption;
};

// Each value label and the caption that names it. The printer's colour support stands under the
// default printer's name, which does not name it: it has no caption and is named by what it says.
const ValuePair ValuePairs[] = {
    {u"Label2"_s, u"Label1"_s},   {u"Label4"_s, u"Label3"_s},   {u"Label6"_s, u"Label5"_s},
    {u"Label8"_s, u"Label7"_s},   {u"Label10"_s, u"Label9"_s},  {u"Label16"_s, u"Label15"_s},
    {u"Label14"_s, u"Label13"_s}, {u"Label33"_s, u"Label34"_s}, {u"Label22"_s, u"Label21"_s},
    {u"Label24"_s, u"Label23"_s}, {u"Label26"_s, u"Label28"_s}, {u"Label27"_s, QString()},
    {u"Label25"_s, u"Label29"_s}, {u"Label17"_s, u"Label18"_s}, {u"Label19"_s, u"Label20"_s},
    {u"Label31"_s, u"Label32"_s}, {u"Label40"_s, u"Label39"_s}, {u"Label42"_s, u"Label41"_s},
    {u"Label44"_s, u"Label43"_s}, {u"Label46"_s, u"Label45"_s}, {u"Label48"_s, u"Label47"_s},
};

struct ControlName
{
    QString control;
    const char *name; // Chinese, in the "ControlRoles" context
};

// Controls whose own caption is empty or that have none.
const ControlName ControlNames[] = {
    {u"TabbedNotebook1"_s, QT_TRANSLATE_NOOP("ControlRoles", "页面")},
    {u"Img_Info"_s, QT_TRANSLATE_NOOP("ControlRoles", "处理器")},
    {u"GroupBox1"_s, QT_TRANSLATE_NOOP("ControlRoles", "内存")},
    {u"GroupBox2"_s, QT_TRANSLATE_NOOP("ControlRoles", "已加载内存")},
    {u"ProgressBar1"_s, QT_TRANSLATE_NOOP("ControlRoles", "已加载内存")},
    {u"GroupBox3"_s, QT_TRANSLATE_NOOP("ControlRoles", "内存使用图")},
    {u"Shape2"_s, QT_TRANSLATE_NOOP("ControlRoles", "图表背景")},
    {u"Shape1"_s, QT_TRANSLATE_NOOP("ControlRoles", "图表网格")},
    {u"PaintBox1"_s, QT_TRANSLATE_NOOP("ControlRoles", "物理内存")},
    {u"PaintBox2"_s, QT_TRANSLATE_NOOP("ControlRoles", "虚拟内存")},
    {u"Shape3"_s, QT_TRANSLATE_NOOP("ControlRoles", "物理内存")},
    {u"Shape4"_s, QT_TRANSLATE_NOOP("ControlRoles", "虚拟内存")},
    {u"DriveComboBox1"_s, QT_TRANSLATE_NOOP("ControlRoles", "驱动器")},
    {u"FileListBox1"_s, QT_TRANSLATE_NOOP("ControlRoles", "文件列表")},
    {u"ListBox1"_s, QT_TRANSLATE_NOOP("ControlRoles", "已安装的服务")},
    {u"ListView1"_s, QT_TRANSLATE_NOOP("ControlRoles", "已安装的软件")},
    {u"ListBox2"_s, QT_TRANSLATE_NOOP("ControlRoles", "已安装打印机")},
    {u"Image1"_s, "Pelzora"},
};

} // namespace

void ControlRoles::apply(QWidget &window)
{
    AccessibleControls::install();
    for (const ValuePair &pair : ValuePairs) {
        if (auto *value = window.findChild<TLabel *>(pair.value)) {
            value->setSelectable(true);
            value->setNameLabel(pair.caption.isEmpty() ? nullptr : window.findChild<TLabel *>(pair.caption));
        }
    }
    // One line of the processor report at a time, from the keyboard.
    if (auto *report = window.findChild<TImage *>(u"Img_Info"_s))
        report->setLinesSelectable(true);
    for (const ControlName &named : ControlNames)
        if (auto *control = window.findChild<QWidget *>(named.control))
            control->setAccessibleName(QCoreApplication::translate("ControlRoles", named.name));
}

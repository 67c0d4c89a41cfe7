// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlRoles.h"

#include "controls/AccessibleControls.h"
#include "controls/TLabel.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

struct ValuePair
{
    QString value;
    QString caption;
};

// Each value label and the caption that names it. The printer's colour support stands under the
// default printer's name and shares its caption.
const ValuePair ValuePairs[] = {
    {u"Label2"_s, u"Label1"_s},   {u"Label4"_s, u"Label3"_s},   {u"Label6"_s, u"Label5"_s},
    {u"Label8"_s, u"Label7"_s},   {u"Label10"_s, u"Label9"_s},  {u"Label16"_s, u"Label15"_s},
    {u"Label14"_s, u"Label13"_s}, {u"Label33"_s, u"Label34"_s}, {u"Label22"_s, u"Label21"_s},
    {u"Label24"_s, u"Label23"_s}, {u"Label26"_s, u"Label28"_s}, {u"Label27"_s, u"Label28"_s},
    {u"Label25"_s, u"Label29"_s}, {u"Label17"_s, u"Label18"_s}, {u"Label19"_s, u"Label20"_s},
    {u"Label31"_s, u"Label32"_s},
};

struct ControlName
{
    QString control;
    QString name;
};

// Controls whose own caption is empty or that have none.
const ControlName ControlNames[] = {
    {u"TabbedNotebook1"_s, u"页面"_s},   {u"Img_Info"_s, u"处理器"_s},         {u"GroupBox1"_s, u"内存"_s},
    {u"GroupBox2"_s, u"已加载内存"_s},   {u"ProgressBar1"_s, u"已加载内存"_s}, {u"GroupBox3"_s, u"内存使用图"_s},
    {u"Shape2"_s, u"图表背景"_s},        {u"Shape1"_s, u"图表网格"_s},         {u"PaintBox1"_s, u"物理内存"_s},
    {u"PaintBox2"_s, u"虚拟内存"_s},     {u"Shape3"_s, u"物理内存"_s},         {u"Shape4"_s, u"虚拟内存"_s},
    {u"DriveComboBox1"_s, u"驱动器"_s},  {u"FileListBox1"_s, u"文件列表"_s},   {u"ListBox1"_s, u"已安装的服务"_s},
    {u"ListView1"_s, u"已安装的软件"_s}, {u"ListBox2"_s, u"已安装打印机"_s},   {u"Image1"_s, u"Pelzora"_s},
};

} // namespace

void ControlRoles::apply(QWidget &window)
{
    AccessibleControls::install();
    for (const ValuePair &pair : ValuePairs) {
        if (auto *value = window.findChild<TLabel *>(pair.value)) {
            value->setSelectable(true);
            value->setNameLabel(window.findChild<TLabel *>(pair.caption));
        }
    }
    for (const ControlName &named : ControlNames)
        if (auto *control = window.findChild<QWidget *>(named.control))
            control->setAccessibleName(named.name);
}

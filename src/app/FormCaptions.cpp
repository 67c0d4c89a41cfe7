// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormCaptions.h"

#include "UnitFormMain.h"

#include <algorithm>

using namespace Qt::StringLiterals;

const QList<FormCaptions::Caption> &FormCaptions::all()
{
    static const QList<Caption> captions{
        {0, {}, u"处理器"_s},
        {-1, u"Label1"_s, u"总的物理内存:"_s},
        {-1, u"Label3"_s, u"可用物理内存:"_s},
        {-1, u"Label5"_s, u"总的虚拟内存:"_s},
        {-1, u"Label7"_s, u"可用虚拟内存:"_s},
        {-1, u"Label9"_s, u"已加载内存:"_s},
        {-1, u"Label11"_s, u"物理内存"_s},
        {-1, u"Label12"_s, u"虚拟内存"_s},
        {1, {}, u"内存"_s},
        {2, {}, u"硬盘"_s},
        {-1, u"Label15"_s, u"驱动器序列号:"_s},
        {-1, u"Label13"_s, u"驱动器分区类型:"_s},
        {-1, u"Label34"_s, u"驱动器类型:"_s},
        {-1, u"Label21"_s, u"总磁盘大小:"_s},
        {-1, u"Label23"_s, u"磁盘空闲:"_s},
        {3, {}, u"系统"_s},
        {-1, u"GroupBox4"_s, u"已安装的服务"_s},
        {-1, u"GroupBox6"_s, u"已安装的软件"_s},
        {4, {}, u"打印机"_s},
        {-1, u"Label30"_s, u"已安装打印机"_s},
        {-1, u"Label28"_s, u"默认打印机名称:"_s},
        {-1, u"Label29"_s, u"打印机精度:"_s},
        {5, {}, u"其他"_s},
        {-1, u"GroupBox7"_s, u"网络"_s},
        {-1, u"Label18"_s, u"计算机IP地址:"_s},
        {-1, u"Label20"_s, u"计算机名"_s},
        {-1, u"GroupBox8"_s, u"操作系统"_s},
        {-1, u"Label32"_s, u"系统运行时间:"_s},
        {6, {}, u"关于"_s},
        {-1, u"Label35"_s, {}},
        {-1, u"Label37"_s, u"主页:"_s},
        {-1, u"Label38"_s, u"邮箱:"_s},
    };
    return captions;
}

QString FormCaptions::tab(int index)
{
    const QList<Caption> &captions = all();
    const auto found = std::find_if(captions.cbegin(), captions.cend(),
                                    [index](const Caption &caption) { return caption.tab == index; });
    return found == captions.cend() ? QString() : found->text;
}

QString FormCaptions::of(const QString &control)
{
    const QList<Caption> &captions = all();
    const auto found = std::find_if(captions.cbegin(), captions.cend(),
                                    [&control](const Caption &caption) { return caption.control == control; });
    if (found == captions.cend())
        return {};
    return found->text.isEmpty() ? TFormMain::ProgramTitle : found->text;
}

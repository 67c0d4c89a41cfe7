// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormCaptions.h"

#include "UnitFormMain.h"

#include <QtGlobal>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *Context = "FormCaptions";

} // namespace

const QList<FormCaptions::Caption> &FormCaptions::all()
{
    static const QList<Caption> captions{
        {0, {}, QT_TRANSLATE_NOOP("FormCaptions", "处理器")},
        {-1, u"Label1"_s, QT_TRANSLATE_NOOP("FormCaptions", "总的物理内存:")},
        {-1, u"Label3"_s, QT_TRANSLATE_NOOP("FormCaptions", "可用物理内存:")},
        {-1, u"Label5"_s, QT_TRANSLATE_NOOP("FormCaptions", "总的虚拟内存:")},
        {-1, u"Label7"_s, QT_TRANSLATE_NOOP("FormCaptions", "可用虚拟内存:")},
        {-1, u"Label9"_s, QT_TRANSLATE_NOOP("FormCaptions", "已加载内存:")},
        {-1, u"Label11"_s, QT_TRANSLATE_NOOP("FormCaptions", "物理内存")},
        {-1, u"Label12"_s, QT_TRANSLATE_NOOP("FormCaptions", "虚拟内存")},
        {1, {}, QT_TRANSLATE_NOOP("FormCaptions", "内存")},
        {2, {}, QT_TRANSLATE_NOOP("FormCaptions", "硬盘")},
        {-1, u"Label15"_s, QT_TRANSLATE_NOOP("FormCaptions", "驱动器序列号:")},
        {-1, u"Label13"_s, QT_TRANSLATE_NOOP("FormCaptions", "驱动器分区类型:")},
        {-1, u"Label34"_s, QT_TRANSLATE_NOOP("FormCaptions", "驱动器类型:")},
        {-1, u"Label21"_s, QT_TRANSLATE_NOOP("FormCaptions", "总磁盘大小:")},
        {-1, u"Label23"_s, QT_TRANSLATE_NOOP("FormCaptions", "磁盘空闲:")},
        {3, {}, QT_TRANSLATE_NOOP("FormCaptions", "系统")},
        {-1, u"GroupBox4"_s, QT_TRANSLATE_NOOP("FormCaptions", "已安装的服务")},
        {-1, u"GroupBox6"_s, QT_TRANSLATE_NOOP("FormCaptions", "已安装的软件")},
        {4, {}, QT_TRANSLATE_NOOP("FormCaptions", "打印机")},
        {-1, u"Label30"_s, QT_TRANSLATE_NOOP("FormCaptions", "已安装打印机")},
        {-1, u"Label28"_s, QT_TRANSLATE_NOOP("FormCaptions", "默认打印机名称:")},
        {-1, u"Label29"_s, QT_TRANSLATE_NOOP("FormCaptions", "打印机精度:")},
        {5, {}, QT_TRANSLATE_NOOP("FormCaptions", "其他")},
        {-1, u"GroupBox7"_s, QT_TRANSLATE_NOOP("FormCaptions", "网络")},
        {-1, u"Label18"_s, QT_TRANSLATE_NOOP("FormCaptions", "计算机IP地址:")},
        {-1, u"Label20"_s, QT_TRANSLATE_NOOP("FormCaptions", "计算机名")},
        {-1, u"GroupBox8"_s, QT_TRANSLATE_NOOP("FormCaptions", "操作系统")},
        {-1, u"Label32"_s, QT_TRANSLATE_NOOP("FormCaptions", "系统运行时间:")},
        {6, {}, QT_TRANSLATE_NOOP("FormCaptions", "关于")},
        {-1, u"Label35"_s, nullptr},
        {-1, u"Label37"_s, QT_TRANSLATE_NOOP("FormCaptions", "主页:")},
        {-1, u"Label38"_s, QT_TRANSLATE_NOOP("FormCaptions", "邮箱:")},
        // Beyond the form: the system summary on the Other page.
        {-1, u"GroupBox9"_s, QT_TRANSLATE_NOOP("FormCaptions", "系统信息")},
        {-1, u"Label39"_s, QT_TRANSLATE_NOOP("FormCaptions", "发行版:")},
        {-1, u"Label41"_s, QT_TRANSLATE_NOOP("FormCaptions", "内核:")},
        {-1, u"Label43"_s, QT_TRANSLATE_NOOP("FormCaptions", "架构:")},
        {-1, u"Label45"_s, QT_TRANSLATE_NOOP("FormCaptions", "处理器:")},
        {-1, u"Label47"_s, QT_TRANSLATE_NOOP("FormCaptions", "桌面:")},
    };
    return captions;
}

QString FormCaptions::text(const Caption &caption, const Wording &words)
{
    return caption.source ? words.translate(Context, caption.source) : TFormMain::ProgramTitle;
}

QString FormCaptions::tab(int index, const Wording &words)
{
    const QList<Caption> &captions = all();
    const auto found = std::find_if(captions.cbegin(), captions.cend(),
                                    [index](const Caption &caption) { return caption.tab == index; });
    return found == captions.cend() ? QString() : text(*found, words);
}

QString FormCaptions::of(const QString &control, const Wording &words)
{
    const QList<Caption> &captions = all();
    const auto found = std::find_if(captions.cbegin(), captions.cend(),
                                    [&control](const Caption &caption) { return caption.control == control; });
    return found == captions.cend() ? QString() : text(*found, words);
}

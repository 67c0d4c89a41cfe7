// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessorPage.h"

#include "controls/TImage.h"
#include "platform/CpuidSource.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int LeftMargin = 15;
constexpr int FirstLine = 5;
constexpr int LineSpacing = 13;
constexpr quint32 ExtendedBase = 0x80000000u;

const QColor LabelColor(255, 0, 0);
const QColor ValueColor(0, 0, 0);
const QColor Background(255, 255, 255);

quint32 bits(quint32 value, int first, int count)
{
    return (value >> first) & ((1u << count) - 1u);
}

QString supported(quint32 flags, int bit)
{
    return bits(flags, bit, 1) ? u"支持"_s : u"不支持"_s;
}

QString hexGroups(quint32 value)
{
    const QString digits = u"%1"_s.arg(value, 8, 16, QChar(u'0')).toUpper();
    return digits.left(4) + u'-' + digits.mid(4);
}

} // namespace

ProcessorPage::ProcessorPage(CpuidSource &cpu, QWidget *parent)
    : QWidget(parent)
    , m_cpu(cpu)
    , m_image(new TImage(u"Img_Info"_s, QRect(8, 16, 345, 321), this))
{
}

bool ProcessorPage::hasCpuid() const
{
    return m_cpu.hasCpuid();
}

QString ProcessorPage::registerText(quint32 value)
{
    const char bytes[4] = {char(bits(value, 0, 8)), char(bits(value, 8, 8)), char(bits(value, 16, 8)),
                           char(bits(value, 24, 8))};
    return QString::fromLatin1(bytes, 4);
}

QString ProcessorPage::serialText(quint32 signature, quint32 high, quint32 low)
{
    return hexGroups(signature) + u'-' + hexGroups(high) + u'-' + hexGroups(low);
}

void ProcessorPage::writeLine(const ReportLine &line)
{
    const QPoint at(LeftMargin, m_linePosition);
    if (!line.label.isEmpty())
        m_image->textOut(at, line.label, m_reportFont, LabelColor, Background);
    if (!line.value.isEmpty())
        m_image->textOut(at + QPoint(TImage::textWidth(line.label, m_reportFont), 0), line.value, m_reportFont,
                         ValueColor, Background);
    m_linePosition += LineSpacing;
}

void ProcessorPage::drawReport()
{
    m_reportFont = window()->font();
    m_image->fill(Background);
    m_linePosition = FirstLine;
    m_lines = reportLines(m_cpu);
    for (const ReportLine &line : std::as_const(m_lines))
        writeLine(line);
}

QList<ProcessorPage::ReportLine> ProcessorPage::reportLines(const CpuidSource &cpu)
{
    QList<ReportLine> lines;
    if (!cpu.hasCpuid()) {
        lines.append({u"处理器"_s, QString()});
        lines.append({u"   - CPUID指令: "_s, u"不支持."_s});
        return lines;
    }
    addIdentification(cpu, lines);
    addFeatures(cpu, lines);
    addExtendedFunctions(cpu, lines);
    return lines;
}

void ProcessorPage::addIdentification(const CpuidSource &cpu, QList<ReportLine> &lines)
{
    const CpuidRegisters vendor = cpu.cpuid(0);
    lines.append({u"处理器"_s, QString()});
    lines.append(
        {u"   - 供货商ID: "_s, registerText(vendor.ebx) + registerText(vendor.edx) + registerText(vendor.ecx)});

    const CpuidRegisters signature = cpu.cpuid(1);
    const quint32 eax = signature.eax;
    const quint32 ebx = signature.ebx;
    lines.append({u"   - 步进ID: "_s, QString::number(bits(eax, 0, 4))});
    lines.append({u"   - 型号: "_s, QString::number(bits(eax, 4, 4), 16).toUpper()});
    lines.append({u"   - 系列代码: "_s, QString::number(bits(eax, 8, 4))});
    lines.append({u"   - 处理器类型: "_s, QString::number(bits(eax, 12, 4))});
    lines.append({u"   - 扩展型号: "_s, QString::number(bits(eax, 16, 4))});
    lines.append({u"   - 大系列: "_s, QString::number(bits(eax, 20, 8))});
    lines.append({u"   - 品牌 ID: "_s, QString::number(bits(ebx, 0, 8))});
    lines.append({u"   - 片数: "_s, QString::number(bits(ebx, 8, 8))});
    lines.append({u"   - 数量: "_s, QString::number(bits(ebx, 16, 8))});
    lines.append({u"   - APIC(高级可编程终端控制器)ID: "_s, QString::number(bits(ebx, 24, 8))});
    lines.append({u"   - 序列号 "_s, bits(signature.edx, 18, 1) ? u"有效"_s : u"失效"_s});

    const CpuidRegisters serial = cpu.cpuid(3);
    lines.append({u"   - 序列号: "_s, serialText(eax, serial.edx, serial.ecx)});
}

void ProcessorPage::addFeatures(const CpuidSource &cpu, QList<ReportLine> &lines)
{
    lines.append(ReportLine());
    const quint32 edx = cpu.cpuid(1).edx;
    lines.append({u"MMX(多媒体增强指令集) "_s, supported(edx, 23)});
    lines.append({bits(edx, 24, 1) ? u"FXSAVE & FXRSTOR 指令 "_s : u"FXSAVE & FXRSTOR 指令集"_s, supported(edx, 24)});
    lines.append({u"SSE指令集 "_s, supported(edx, 25)});
    lines.append({u"SSE2指令集 "_s, supported(edx, 26)});
    lines.append(ReportLine());
}

void ProcessorPage::addExtendedFunctions(const CpuidSource &cpu, QList<ReportLine> &lines)
{
    const quint32 highest = cpu.cpuid(ExtendedBase).eax;
    if (highest <= ExtendedBase) {
        lines.append({u"   - 扩展CPUID "_s, u"不支持."_s});
        return;
    }
    lines.append({u"扩展CPUID: "_s, u"支持"_s});
    lines.append({u"   - 高级功能支持: "_s, QString::number(highest - ExtendedBase)});

    QString brand;
    for (quint32 leaf = ExtendedBase + 2; leaf <= ExtendedBase + 4; ++leaf) {
        const CpuidRegisters r = cpu.cpuid(leaf);
        brand += registerText(r.eax) + registerText(r.ebx) + registerText(r.ecx) + registerText(r.edx);
    }
    if (brand.endsWith(QChar(u'\0')))
        brand.chop(1);
    lines.append({u"品牌: "_s, QString()});
    lines.append({QString(), u"   - "_s + brand});
}

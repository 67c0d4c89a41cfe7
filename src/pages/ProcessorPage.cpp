// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessorPage.h"

#include "ProcessorIdentityReport.h"
#include "app/Wording.h"
#include "controls/drawing/TImage.h"
#include "platform/CpuidSource.h"
#include "platform/ProcessorSource.h"

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

QString supported(quint32 flags, int bit, const Wording &words)
{
    return bits(flags, bit, 1) ? words.translate("ProcessorPage", "支持") : words.translate("ProcessorPage", "不支持");
}

QString hexGroups(quint32 value)
{
    const QString digits = u"%1"_s.arg(value, 8, 16, QChar(u'0')).toUpper();
    return digits.left(4) + u'-' + digits.mid(4);
}

} // namespace

ProcessorPage::ProcessorPage(CpuidSource &cpu, ProcessorSource &processor, QWidget *parent)
    : QWidget(parent)
    , m_cpu(cpu)
    , m_processor(processor)
    , m_image(new TImage(u"Img_Info"_s, QRect(8, 16, 345, 321), this))
{
}

bool ProcessorPage::hasCpuid() const
{
    return m_cpu.hasCpuid();
}

ProcessorIdentity ProcessorPage::identity() const
{
    return m_processor.identity();
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
    m_lines = reportLines(m_cpu, m_processor);
    for (const ReportLine &line : std::as_const(m_lines))
        writeLine(line);
}

bool ProcessorPage::reportsIdentity(bool hasCpuid, const ProcessorIdentity &identity)
{
    return !hasCpuid && !identity.architecture.isEmpty() && !ProcessorIdentity::isX86(identity.architecture);
}

QList<ProcessorPage::ReportLine> ProcessorPage::reportLines(const CpuidSource &cpu, const ProcessorSource &processor,
                                                            const Wording &words)
{
    // Asked only without the instruction: on x86 the report stays the instruction's alone.
    if (cpu.hasCpuid())
        return reportLines(cpu, words);
    const ProcessorIdentity identity = processor.identity();
    return reportsIdentity(false, identity) ? ProcessorIdentityReport::lines(identity, words) : reportLines(cpu, words);
}

QList<ProcessorPage::ReportLine> ProcessorPage::reportLines(const CpuidSource &cpu, const Wording &words)
{
    QList<ReportLine> lines;
    if (!cpu.hasCpuid()) {
        lines.append({words.translate("ProcessorPage", "处理器"), QString()});
        lines.append(
            {words.translate("ProcessorPage", "   - CPUID指令: "), words.translate("ProcessorPage", "不支持.")});
        return lines;
    }
    addIdentification(cpu, lines, words);
    addFeatures(cpu, lines, words);
    addExtendedFunctions(cpu, lines, words);
    return lines;
}

QList<ProcessorPage::ReportLine> ProcessorPage::reportLines(const Wording &words) const
{
    return reportLines(m_cpu, m_processor, words);
}

void ProcessorPage::addIdentification(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words)
{
    const auto line = [&lines, &words](const char *caption, const QString &value) {
        lines.append({words.translate("ProcessorPage", caption), value});
    };
    const CpuidRegisters vendor = cpu.cpuid(0);
    lines.append({words.translate("ProcessorPage", "处理器"), QString()});
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 供货商ID: "),
         registerText(vendor.ebx) + registerText(vendor.edx) + registerText(vendor.ecx));

    const CpuidRegisters signature = cpu.cpuid(1);
    const quint32 eax = signature.eax;
    const quint32 ebx = signature.ebx;
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 步进ID: "), QString::number(bits(eax, 0, 4)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 型号: "), QString::number(bits(eax, 4, 4), 16).toUpper());
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 系列代码: "), QString::number(bits(eax, 8, 4)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 处理器类型: "), QString::number(bits(eax, 12, 4)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 扩展型号: "), QString::number(bits(eax, 16, 4)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 大系列: "), QString::number(bits(eax, 20, 8)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 品牌 ID: "), QString::number(bits(ebx, 0, 8)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 片数: "), QString::number(bits(ebx, 8, 8)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 数量: "), QString::number(bits(ebx, 16, 8)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - APIC(高级可编程终端控制器)ID: "), QString::number(bits(ebx, 24, 8)));
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 序列号 "),
         bits(signature.edx, 18, 1) ? words.translate("ProcessorPage", "有效")
                                    : words.translate("ProcessorPage", "失效"));

    const CpuidRegisters serial = cpu.cpuid(3);
    line(QT_TRANSLATE_NOOP("ProcessorPage", "   - 序列号: "), serialText(eax, serial.edx, serial.ecx));
}

void ProcessorPage::addFeatures(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words)
{
    lines.append(ReportLine());
    const quint32 edx = cpu.cpuid(1).edx;
    lines.append({words.translate("ProcessorPage", "MMX(多媒体增强指令集) "), supported(edx, 23, words)});
    // Written without its blank where the instructions are missing, so the value follows it at once.
    lines.append({bits(edx, 24, 1) ? words.translate("ProcessorPage", "FXSAVE & FXRSTOR 指令 ")
                                   : words.translate("ProcessorPage", "FXSAVE & FXRSTOR 指令集"),
                  supported(edx, 24, words)});
    lines.append({words.translate("ProcessorPage", "SSE指令集 "), supported(edx, 25, words)});
    lines.append({words.translate("ProcessorPage", "SSE2指令集 "), supported(edx, 26, words)});
    lines.append(ReportLine());
}

void ProcessorPage::addExtendedFunctions(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words)
{
    const quint32 highest = cpu.cpuid(ExtendedBase).eax;
    if (highest <= ExtendedBase) {
        lines.append(
            {words.translate("ProcessorPage", "   - 扩展CPUID "), words.translate("ProcessorPage", "不支持.")});
        return;
    }
    lines.append({words.translate("ProcessorPage", "扩展CPUID: "), words.translate("ProcessorPage", "支持")});
    lines.append({words.translate("ProcessorPage", "   - 高级功能支持: "), QString::number(highest - ExtendedBase)});

    QString brand;
    for (quint32 leaf = ExtendedBase + 2; leaf <= ExtendedBase + 4; ++leaf) {
        const CpuidRegisters r = cpu.cpuid(leaf);
        brand += registerText(r.eax) + registerText(r.ebx) + registerText(r.ecx) + registerText(r.edx);
    }
    if (brand.endsWith(QChar(u'\0')))
        brand.chop(1);
    lines.append({words.translate("ProcessorPage", "品牌: "), QString()});
    lines.append({QString(), u"   - "_s + brand});
}

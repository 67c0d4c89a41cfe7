// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessorIdentityDecoder.h"

#include "Arm64Hwcaps.h"
#include "CpuinfoText.h"
#include "MainIdRegister.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

using Block = CpuinfoText::Block;

namespace {

// The longest raw text shown for a value that could not be read.
constexpr qsizetype RawTextLength = 24;

QString hex(quint64 value, int digits = 0)
{
    return u"0x%1"_s.arg(value, digits, 16, QChar(u'0'));
}

QString joinedDistinct(const QStringList &texts)
{
    QStringList distinct;
    for (const QString &text : texts)
        if (!text.isEmpty() && !distinct.contains(text))
            distinct.append(text);
    return distinct.join(u" + "_s);
}

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// A text read from a file that should hold a number, fit to be shown: no control characters, not too long.
QString rawText(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes.trimmed()).left(RawTextLength);
    for (QChar &c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QChar(QChar::ReplacementCharacter);
    return text;
}

// The first of these keys the text has.
QString firstOf(const CpuinfoText &cpuinfo, std::initializer_list<QStringView> keys)
{
    for (const QStringView key : keys)
        if (QString value = cpuinfo.first(key); !value.isEmpty())
            return value;
    return {};
}

void addDetail(ProcessorIdentity &identity, const QString &key, const QString &value)
{
    if (!value.isEmpty())
        identity.details.append({key, value});
}

// The keys most families share, for any machine: the least a processor is called.
void addCommonFacts(ProcessorIdentity &identity, const CpuinfoText &cpuinfo)
{
    identity.vendor = firstOf(cpuinfo, {u"vendor_id", u"vendor"});
    identity.model = firstOf(cpuinfo, {u"model name", u"cpu model", u"cpu"});
    identity.features = words(firstOf(cpuinfo, {u"features", u"flags"}));
}

// Arm --------------------------------------------------------------------------------------

// Each CPU's Main ID Register: from sysfs where it is there, else from the CPU's own
// /proc/cpuinfo block. Sysfs files that are empty or not a number are kept in unreadable.
QList<MainIdRegister> armRegisters(const LinuxProcessorTexts &texts, const QList<Block> &processors,
                                   QStringList &unreadable)
{
    const auto fromBlock = [&processors](qsizetype i) -> std::optional<MainIdRegister> {
        if (i >= processors.size())
            return std::nullopt;
        const Block &block = processors.at(i);
        return MainIdRegister::fromCpuinfo(
            CpuinfoText::value(block, u"CPU implementer"), CpuinfoText::value(block, u"CPU variant"),
            CpuinfoText::value(block, u"CPU part"), CpuinfoText::value(block, u"CPU revision"));
    };
    QList<MainIdRegister> registers;
    const qsizetype count = texts.midr ? texts.midr->size() : processors.size();
    for (qsizetype i = 0; i < count; ++i) {
        std::optional<MainIdRegister> midr = texts.midr ? MainIdRegister::fromSysfs(texts.midr->at(i)) : std::nullopt;
        if (texts.midr && !midr)
            unreadable.append(rawText(texts.midr->at(i)));
        if (!midr)
            midr = fromBlock(i);
        if (midr)
            registers.append(*midr);
    }
    return registers;
}

ProcessorCluster clusterOf(const MainIdRegister &midr, const ProcessorNames &names)
{
    ProcessorCluster cluster;
    cluster.implementer = midr.implementer;
    cluster.part = midr.part;
    cluster.variant = midr.variant;
    cluster.revision = midr.revision;
    cluster.vendor = names.implementer(midr.implementer).value_or(hex(midr.implementer, 2));
    cluster.model = names.part(midr.implementer, midr.part).value_or(hex(midr.part, 3));
    return cluster;
}

// CPUs of one implementer and part form a cluster, in the order of each cluster's first CPU.
QList<ProcessorCluster> clustersOf(const QList<MainIdRegister> &registers, const ProcessorNames &names)
{
    QList<ProcessorCluster> clusters;
    for (const MainIdRegister &midr : registers) {
        auto same = std::find_if(clusters.begin(), clusters.end(), [&midr](const ProcessorCluster &cluster) {
            return cluster.implementer == midr.implementer && cluster.part == midr.part;
        });
        if (same == clusters.end())
            same = clusters.insert(clusters.end(), clusterOf(midr, names));
        ++same->cores;
    }
    return clusters;
}

// 32-bit kernels name every processor "ARMv7 Processor rev 3 (v7l)": a name that says nothing.
bool isArchitectureName(const QString &model)
{
    // Never destroyed: the report's thread may still be deciding while the process exits.
    static const QRegularExpression &architectureName = *new QRegularExpression(u"^ARMv\\d+.* Processor rev"_s);
    return architectureName.match(model).hasMatch();
}

void addArmFacts(ProcessorIdentity &identity, const LinuxProcessorTexts &texts, const CpuinfoText &cpuinfo,
                 const QList<Block> &processors, const ProcessorNames &names)
{
    addCommonFacts(identity, cpuinfo);
    if (isArchitectureName(identity.model))
        identity.model.clear();
    QStringList unreadable;
    identity.clusters = clustersOf(armRegisters(texts, processors, unreadable), names);
    if (!identity.clusters.isEmpty()) {
        QStringList vendors, models;
        for (const ProcessorCluster &cluster : std::as_const(identity.clusters)) {
            vendors.append(cluster.vendor);
            models.append(cluster.model);
        }
        identity.vendor = joinedDistinct(vendors);
        // Newer kernels for some vendors' processors print a real name; it is better than a core's.
        if (identity.model.isEmpty())
            identity.model = joinedDistinct(models);
    }
    if (!unreadable.isEmpty())
        identity.details.append({u"midr"_s, unreadable.constFirst()});
    if (identity.architecture != u"aarch64")
        return;
    if (texts.hwcap != 0 || texts.hwcap2 != 0) {
        identity.features = Arm64Hwcaps::names(texts.hwcap, texts.hwcap2);
    } else {
        identity.details.append({u"hwcap"_s, hex(texts.hwcap)});
        identity.details.append({u"hwcap2"_s, hex(texts.hwcap2)});
    }
}

// RISC-V and LoongArch ---------------------------------------------------------------------

void addRiscvFacts(ProcessorIdentity &identity, const CpuinfoText &cpuinfo, const ProcessorNames &names)
{
    const QString vendorId = cpuinfo.first(u"mvendorid");
    bool isNumber = false;
    const quint64 vendor = vendorId.startsWith(u"0x"_s) ? vendorId.mid(2).toULongLong(&isNumber, 16) : 0;
    identity.vendor = (isNumber ? names.riscvVendor(vendor) : std::nullopt).value_or(vendorId);
    identity.model = firstOf(cpuinfo, {u"uarch", u"model name"});
    // "rv64imafdc_zicntr_zicsr": the base and its single-letter extensions, then the named ones.
    const QStringList isa = cpuinfo.first(u"isa").split(u'_', Qt::SkipEmptyParts);
    addDetail(identity, u"mvendorid"_s, vendorId);
    addDetail(identity, u"marchid"_s, cpuinfo.first(u"marchid"));
    addDetail(identity, u"mimpid"_s, cpuinfo.first(u"mimpid"));
    addDetail(identity, u"isa"_s, isa.value(0));
    addDetail(identity, u"mmu"_s, cpuinfo.first(u"mmu"));
    identity.features = isa.mid(1);
}

// Distinct cores, where the kernel numbers them ("package" and "core" in each processor block).
int coreCount(const QList<Block> &processors)
{
    QSet<QString> cores;
    for (const Block &block : processors)
        if (CpuinfoText::has(block, u"core"))
            cores.insert(CpuinfoText::value(block, u"package") + u'/' + CpuinfoText::value(block, u"core"));
    return int(cores.size());
}

void addLoongArchFacts(ProcessorIdentity &identity, const CpuinfoText &cpuinfo, const QList<Block> &processors)
{
    addCommonFacts(identity, cpuinfo);
    addDetail(identity, u"family"_s, cpuinfo.first(u"CPU Family"));
    addDetail(identity, u"prid"_s, cpuinfo.first(u"PRID"));
    addDetail(identity, u"isa"_s, cpuinfo.first(u"ISA"));
    if (const int cores = coreCount(processors); cores > 0)
        addDetail(identity, u"cores"_s, QString::number(cores));
}

// The board ---------------------------------------------------------------------------------

// What firmware writes where the board maker wrote nothing.
bool isPlaceholder(const QString &text)
{
    constexpr std::array<QStringView, 9> placeholders{
        u"to be filled by o.e.m", u"default string", u"not specified", u"not applicable", u"system product name",
        u"system manufacturer",   u"none",           u"unknown",       u"o.e.m."};
    const QString lower = text.toLower();
    return std::ranges::any_of(placeholders,
                               [&lower](QStringView placeholder) { return lower.startsWith(placeholder); });
}

QString dmiText(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes).simplified();
    return isPlaceholder(text) ? QString() : text;
}

} // namespace

QString ProcessorIdentityDecoder::board(const LinuxProcessorTexts &texts)
{
    // The device tree's strings end in a NUL.
    if (texts.deviceTreeModel) {
        QByteArray model = *texts.deviceTreeModel;
        while (model.endsWith('\0'))
            model.chop(1);
        if (QString text = QString::fromUtf8(model).simplified(); !text.isEmpty())
            return text;
    }
    const QString vendor = dmiText(texts.dmiSysVendor);
    QString product = dmiText(texts.dmiProductName);
    if (product.startsWith(vendor, Qt::CaseInsensitive))
        return product;
    return QStringList{vendor, product}.join(u' ').trimmed();
}

ProcessorIdentity ProcessorIdentityDecoder::decode(const LinuxProcessorTexts &texts, const ProcessorNames &names)
{
    const CpuinfoText cpuinfo = CpuinfoText::parse(texts.cpuinfo);
    const QList<Block> processors = cpuinfo.processors();
    ProcessorIdentity identity;
    identity.architecture = texts.machine;
    const QString &machine = texts.machine;
    if (machine.startsWith(u"aarch64") || machine.startsWith(u"arm"))
        addArmFacts(identity, texts, cpuinfo, processors, names);
    else if (machine.startsWith(u"riscv"))
        addRiscvFacts(identity, cpuinfo, names);
    else if (machine.startsWith(u"loongarch"))
        addLoongArchFacts(identity, cpuinfo, processors);
    else
        addCommonFacts(identity, cpuinfo);
    identity.board = board(texts);
    // The Raspberry Pi's kernel names the board in the last block of /proc/cpuinfo too.
    if (identity.board.isEmpty() && !identity.clusters.isEmpty())
        identity.board = cpuinfo.first(u"Model");
    identity.logicalProcessors = int(processors.size());
    if (identity.logicalProcessors == 0)
        identity.logicalProcessors = texts.onlineProcessors;
    if (identity.logicalProcessors == 0 && texts.midr)
        identity.logicalProcessors = int(texts.midr->size());
    return identity;
}

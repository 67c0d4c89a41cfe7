// SPDX-License-Identifier: GPL-3.0-or-later
#include "X86Identification.h"

#include "pages/ProcessorPage.h"
#include "platform/CpuidSource.h"

#include <QJsonValue>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 ExtendedBase = 0x80000000u;
constexpr quint32 BrandLeaves = 3;
// Families whose model number grows into its extension (Intel's and AMD's manuals).
constexpr int ExtendedFamilyMark = 0xF;
constexpr int IntelCoreFamily = 6;

int bits(quint32 value, int first, int count)
{
    return int((value >> first) & ((1u << count) - 1u));
}

QString brandOf(const CpuidSource &cpu)
{
    QString brand;
    for (quint32 leaf = ExtendedBase + 2; leaf < ExtendedBase + 2 + BrandLeaves; ++leaf) {
        const CpuidRegisters r = cpu.cpuid(leaf);
        for (const quint32 word : {r.eax, r.ebx, r.ecx, r.edx})
            brand += ProcessorPage::registerText(word);
    }
    return brand.remove(QChar(u'\0')).trimmed();
}

} // namespace

std::optional<X86Identification> X86Identification::read(const CpuidSource &cpu)
{
    if (!cpu.hasCpuid())
        return std::nullopt;
    X86Identification id;
    const CpuidRegisters vendor = cpu.cpuid(0);
    id.vendor = ProcessorPage::registerText(vendor.ebx) + ProcessorPage::registerText(vendor.edx)
        + ProcessorPage::registerText(vendor.ecx);
    id.vendor.remove(QChar(u'\0'));
    const CpuidRegisters signature = cpu.cpuid(1);
    id.stepping = bits(signature.eax, 0, 4);
    id.model = bits(signature.eax, 4, 4);
    id.family = bits(signature.eax, 8, 4);
    id.type = bits(signature.eax, 12, 4);
    id.extendedModel = bits(signature.eax, 16, 4);
    id.extendedFamily = bits(signature.eax, 20, 8);
    id.brandIndex = bits(signature.ebx, 0, 8);
    id.clflushLineSize = bits(signature.ebx, 8, 8);
    id.logicalProcessorCount = bits(signature.ebx, 16, 8);
    id.apicId = bits(signature.ebx, 24, 8);
    id.serialNumberSupported = bits(signature.edx, 18, 1) != 0;
    const CpuidRegisters serial = cpu.cpuid(3);
    id.serialNumber = ProcessorPage::serialText(signature.eax, serial.edx, serial.ecx);
    id.mmx = bits(signature.edx, 23, 1) != 0;
    id.fxsr = bits(signature.edx, 24, 1) != 0;
    id.sse = bits(signature.edx, 25, 1) != 0;
    id.sse2 = bits(signature.edx, 26, 1) != 0;
    const quint32 highest = cpu.cpuid(ExtendedBase).eax;
    if (highest > ExtendedBase) {
        id.extendedLeaves = int(highest - ExtendedBase);
        id.brand = brandOf(cpu);
    }
    return id;
}

int X86Identification::displayFamily() const
{
    return family == ExtendedFamilyMark ? family + extendedFamily : family;
}

int X86Identification::displayModel() const
{
    return family == IntelCoreFamily || family == ExtendedFamilyMark ? model + (extendedModel << 4) : model;
}

QJsonObject X86Identification::toJson() const
{
    const auto optional = [](const auto &value) {
        return value ? QJsonValue(*value) : QJsonValue();
    };
    return {
        {u"vendor"_s, vendor},
        {u"stepping"_s, stepping},
        {u"model"_s, model},
        {u"family"_s, family},
        {u"type"_s, type},
        {u"extendedModel"_s, extendedModel},
        {u"extendedFamily"_s, extendedFamily},
        {u"displayFamily"_s, displayFamily()},
        {u"displayModel"_s, displayModel()},
        {u"brandIndex"_s, brandIndex},
        {u"clflushLineSize"_s, clflushLineSize},
        {u"logicalProcessorCount"_s, logicalProcessorCount},
        {u"apicId"_s, apicId},
        {u"serialNumberSupported"_s, serialNumberSupported},
        {u"serialNumber"_s, serialNumber},
        {u"features"_s, QJsonObject{{u"mmx"_s, mmx}, {u"fxsr"_s, fxsr}, {u"sse"_s, sse}, {u"sse2"_s, sse2}}},
        {u"extendedLeaves"_s, optional(extendedLeaves)},
        {u"brand"_s, optional(brand)},
    };
}

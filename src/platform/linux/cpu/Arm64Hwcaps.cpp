// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arm64Hwcaps.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Bit n of AT_HWCAP, then of AT_HWCAP2.
constexpr std::array<const char *, 32> HwcapNames{
    "fp",    "asimd",    "evtstrm", "aes",   "pmull",  "sha1",  "sha2", "crc32", "atomics", "fphp",    "asimdhp",
    "cpuid", "asimdrdm", "jscvt",   "fcma",  "lrcpc",  "dcpop", "sha3", "sm3",   "sm4",     "asimddp", "sha512",
    "sve",   "asimdfhm", "dit",     "uscat", "ilrcpc", "flagm", "ssbs", "sb",    "paca",    "pacg"};

constexpr std::array<const char *, 47> Hwcap2Names{
    "dcpodp",     "sve2",      "sveaes",    "svepmull",  "svebitperm", "svesha3",   "svesm4",  "flagm2",
    "frint",      "svei8mm",   "svef32mm",  "svef64mm",  "svebf16",    "i8mm",      "bf16",    "dgh",
    "rng",        "bti",       "mte",       "ecv",       "afp",        "rpres",     "mte3",    "sme",
    "smei16i64",  "smef64f64", "smei8i32",  "smef16f32", "smeb16f32",  "smef32f32", "smefa64", "wfxt",
    "ebf16",      "sveebf16",  "cssc",      "rprfm",     "sve2p1",     "sme2",      "sme2p1",  "smei16i32",
    "smebi32i32", "smeb16b16", "smef16f16", "mops",      "hbc",        "sveb16b16", "lrcpc3"};

template<std::size_t N>
void appendNames(QStringList &names, quint64 word, const std::array<const char *, N> &known, const QString &wordName)
{
    for (int bit = 0; bit < 64; ++bit) {
        if ((word & (quint64{1} << bit)) == 0)
            continue;
        if (std::size_t(bit) < known.size())
            names.append(QString::fromLatin1(known[std::size_t(bit)]));
        else
            names.append(u"%1[%2]"_s.arg(wordName).arg(bit));
    }
}

} // namespace

QStringList Arm64Hwcaps::names(quint64 hwcap, quint64 hwcap2)
{
    QStringList names;
    appendNames(names, hwcap, HwcapNames, u"hwcap"_s);
    appendNames(names, hwcap2, Hwcap2Names, u"hwcap2"_s);
    return names;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainIdRegister.h"

using namespace Qt::StringLiterals;

namespace {

quint32 field(quint64 value, int first, int count)
{
    return quint32((value >> first) & ((quint64{1} << count) - 1));
}

// "0x..." in hex, anything else in decimal, as the kernel prints these fields.
std::optional<quint64> number(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const quint64 value = trimmed.startsWith(u"0x"_s, Qt::CaseInsensitive) ? trimmed.mid(2).toULongLong(&ok, 16)
                                                                           : trimmed.toULongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

// A field that must fit its width in the register, or nothing.
std::optional<quint32> fieldOf(const QString &text, quint32 widest)
{
    const std::optional<quint64> value = number(text);
    return value && *value <= widest ? std::optional(quint32(*value)) : std::nullopt;
}

} // namespace

MainIdRegister MainIdRegister::fromValue(quint64 value)
{
    return {field(value, 24, 8), field(value, 20, 4), field(value, 16, 4), field(value, 4, 12), field(value, 0, 4)};
}

std::optional<MainIdRegister> MainIdRegister::fromSysfs(QByteArrayView text)
{
    const QString trimmed = QString::fromLatin1(text.trimmed());
    if (!trimmed.startsWith(u"0x"_s, Qt::CaseInsensitive))
        return std::nullopt;
    const std::optional<quint64> value = number(trimmed);
    return value ? std::optional(fromValue(*value)) : std::nullopt;
}

std::optional<MainIdRegister> MainIdRegister::fromCpuinfo(const QString &implementer, const QString &variant,
                                                          const QString &part, const QString &revision)
{
    const std::optional<quint32> implementerId = fieldOf(implementer, 0xFF);
    const std::optional<quint32> partId = fieldOf(part, 0xFFF);
    if (!implementerId || !partId)
        return std::nullopt;
    MainIdRegister midr;
    midr.implementer = *implementerId;
    midr.part = *partId;
    midr.variant = fieldOf(variant, 0xF).value_or(0);
    midr.revision = fieldOf(revision, 0xF).value_or(0);
    return midr;
}

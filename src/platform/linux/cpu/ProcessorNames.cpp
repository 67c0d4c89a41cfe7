// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessorNames.h"

#include <QByteArray>
#include <QFile>
#include <QList>

using namespace Qt::StringLiterals;

// Outside any namespace, as Qt asks: the table lives in the core library's resources.
static void initialiseResources()
{
    Q_INIT_RESOURCE(pelzora);
}

namespace {

std::optional<quint64> hexId(QByteArrayView text)
{
    if (!text.startsWith("0x"))
        return std::nullopt;
    bool ok = false;
    const quint64 id = text.sliced(2).toULongLong(&ok, 16);
    return ok ? std::optional(id) : std::nullopt;
}

quint64 partKey(quint32 implementer, quint32 part)
{
    return (quint64{implementer} << 32) | part;
}

} // namespace

ProcessorNames ProcessorNames::parse(QByteArrayView table)
{
    ProcessorNames names;
    for (const QByteArray &line : table.toByteArray().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split('\t');
        if (line.startsWith('#') || fields.size() < 3)
            continue;
        const QString name = QString::fromUtf8(fields.constLast()).trimmed();
        const std::optional<quint64> first = hexId(fields.at(1));
        if (name.isEmpty() || !first)
            continue;
        if (fields.at(0) == "implementer" && fields.size() == 3 && *first <= 0xFF) {
            names.m_implementers.insert(quint32(*first), name);
        } else if (fields.at(0) == "part" && fields.size() == 4) {
            const std::optional<quint64> part = hexId(fields.at(2));
            if (part && *first <= 0xFF && *part <= 0xFFF)
                names.m_parts.insert(partKey(quint32(*first), quint32(*part)), name);
        } else if (fields.at(0) == "riscv-vendor" && fields.size() == 3) {
            names.m_riscvVendors.insert(*first, name);
        }
    }
    return names;
}

const ProcessorNames &ProcessorNames::builtIn()
{
    // Never destroyed: a reading thread may still be naming a part while the process exits.
    static const ProcessorNames &names = *new ProcessorNames([] {
        initialiseResources();
        QFile file(u":/processors/names.tsv"_s);
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : ProcessorNames();
    }());
    return names;
}

std::optional<QString> ProcessorNames::implementer(quint32 id) const
{
    const auto it = m_implementers.constFind(id);
    return it == m_implementers.cend() ? std::nullopt : std::optional(*it);
}

std::optional<QString> ProcessorNames::part(quint32 implementer, quint32 part) const
{
    const auto it = m_parts.constFind(partKey(implementer, part));
    return it == m_parts.cend() ? std::nullopt : std::optional(*it);
}

std::optional<QString> ProcessorNames::riscvVendor(quint64 id) const
{
    const auto it = m_riscvVendors.constFind(id);
    return it == m_riscvVendors.cend() ? std::nullopt : std::optional(*it);
}

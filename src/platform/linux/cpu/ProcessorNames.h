// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

// The names of processors by the ids they report: the program's own table
// (resources/processors/names.tsv), one "kind <TAB> ids... <TAB> name" a line.
class ProcessorNames
{
public:
    // Lines it cannot read are left out.
    static ProcessorNames parse(QByteArrayView table);
    // The table the program carries, read once.
    static const ProcessorNames &builtIn();

    std::optional<QString> implementer(quint32 id) const;
    std::optional<QString> part(quint32 implementer, quint32 part) const;
    std::optional<QString> riscvVendor(quint64 id) const;

private:
    QHash<quint32, QString> m_implementers;
    QHash<quint64, QString> m_parts; // implementer << 32 | part
    QHash<quint64, QString> m_riscvVendors;
};

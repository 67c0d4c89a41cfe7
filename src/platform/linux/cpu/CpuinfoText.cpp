// SPDX-License-Identifier: GPL-3.0-or-later
#include "CpuinfoText.h"

#include <algorithm>
#include <utility>

namespace {

bool isBlank(QByteArrayView line)
{
    return line.trimmed().isEmpty();
}

} // namespace

CpuinfoText CpuinfoText::parse(QByteArrayView text)
{
    CpuinfoText parsed;
    Block block;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(start, end - start);
        start = end + 1;
        if (isBlank(line)) {
            if (!block.isEmpty())
                parsed.m_blocks.append(std::exchange(block, {}));
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        block.append(
            {QString::fromUtf8(line.first(colon).trimmed()), QString::fromUtf8(line.sliced(colon + 1).trimmed())});
    }
    if (!block.isEmpty())
        parsed.m_blocks.append(block);
    return parsed;
}

QList<CpuinfoText::Block> CpuinfoText::processors() const
{
    QList<Block> processors;
    for (const Block &block : m_blocks) {
        bool numbered = false;
        value(block, u"processor").toUInt(&numbered);
        if (numbered)
            processors.append(block);
    }
    return processors;
}

QString CpuinfoText::value(const Block &block, QStringView key)
{
    for (const Field &field : block)
        if (field.key.compare(key, Qt::CaseInsensitive) == 0)
            return field.value;
    return {};
}

bool CpuinfoText::has(const Block &block, QStringView key)
{
    return std::any_of(block.cbegin(), block.cend(),
                       [key](const Field &field) { return field.key.compare(key, Qt::CaseInsensitive) == 0; });
}

QString CpuinfoText::first(QStringView key) const
{
    for (const Block &block : m_blocks)
        if (has(block, key))
            return value(block, key);
    return {};
}

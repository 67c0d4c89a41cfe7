// SPDX-License-Identifier: GPL-3.0-or-later
#include "CpuTopology.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// No machine has more; a list claiming more is not one the kernel wrote.
constexpr int CpuLimit = 1 << 16;

std::optional<int> number(const std::optional<QByteArray> &text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<QList<int>> CpuTopology::cpuList(const QByteArray &text)
{
    QList<int> cpus;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return cpus;
    for (const QByteArray &range : trimmed.split(',')) {
        const QList<QByteArray> ends = range.split('-');
        bool firstOk = false;
        bool lastOk = false;
        const int first = ends.constFirst().toInt(&firstOk);
        const int last = ends.constLast().toInt(&lastOk);
        if (ends.size() > 2 || !firstOk || !lastOk || first < 0 || last < first || last >= CpuLimit
            || cpus.size() + (last - first) >= CpuLimit)
            return std::nullopt;
        for (int cpu = first; cpu <= last; ++cpu)
            cpus.append(cpu);
    }
    return cpus;
}

ProcessorCount CpuTopology::count(const FileReader &read)
{
    const std::optional<QByteArray> online = read(u"online"_s);
    const std::optional<QList<int>> cpus = online ? cpuList(*online) : std::nullopt;
    if (!cpus)
        return {};
    ProcessorCount count{int(cpus->size()), std::nullopt};
    QSet<std::pair<int, int>> cores;
    for (const int cpu : *cpus) {
        const QString topology = u"cpu%1/topology/"_s.arg(cpu);
        const std::optional<int> package = number(read(topology + u"physical_package_id"_s));
        const std::optional<int> core = number(read(topology + u"core_id"_s));
        if (!package || !core)
            return count;
        cores.insert({*package, *core});
    }
    if (!cores.isEmpty())
        count.cores = int(cores.size());
    return count;
}

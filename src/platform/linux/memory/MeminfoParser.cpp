// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeminfoParser.h"

#include "platform/Failure.h"

#include <QString>

#include <array>
#include <charconv>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

enum Field {
    MemTotal,
    MemFree,
    MemAvailable,
    Buffers,
    Cached,
    SwapTotal,
    SwapFree,
    CommitLimit,
    CommittedAs,
    FieldCount
};

constexpr std::array<QByteArrayView, FieldCount> FieldNames{
    "MemTotal", "MemFree", "MemAvailable", "Buffers", "Cached", "SwapTotal", "SwapFree", "CommitLimit", "Committed_AS"};

using Fields = std::array<std::optional<quint64>, FieldCount>;

constexpr quint64 Maximum = std::numeric_limits<quint64>::max();

[[noreturn]] void fail(Field field, const char *what)
{
    throw Failure(u"/proc/meminfo: %1 %2"_s.arg(QString::fromLatin1(FieldNames[field]), QString::fromLatin1(what)));
}

// "    24683748 kB" in bytes.
quint64 kilobytes(QByteArrayView value, Field field)
{
    value = value.trimmed();
    quint64 count = 0;
    const auto [end, error] = std::from_chars(value.begin(), value.end(), count);
    if (error != std::errc() || end == value.begin() || QByteArrayView(end, value.end()).trimmed() != "kB")
        fail(field, "is not a count of kB");
    if (count > Maximum / 1024)
        fail(field, "is too large");
    return count * 1024;
}

Fields parseFields(QByteArrayView meminfo)
{
    Fields fields;
    while (!meminfo.isEmpty()) {
        qsizetype end = meminfo.indexOf('\n');
        if (end < 0)
            end = meminfo.size();
        const QByteArrayView line = meminfo.first(end);
        meminfo = meminfo.sliced(qMin(end + 1, meminfo.size()));
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArrayView name = line.first(colon);
        for (int field = 0; field < FieldCount; ++field) {
            if (name == FieldNames[field] && !fields[field]) {
                fields[field] = kilobytes(line.sliced(colon + 1), Field(field));
                break;
            }
        }
    }
    return fields;
}

quint64 required(const Fields &fields, Field field)
{
    if (!fields[field])
        fail(field, "is missing");
    return *fields[field];
}

quint64 sum(quint64 a, quint64 b)
{
    if (a > Maximum - b)
        throw Failure(u"/proc/meminfo: figures too large to add up"_s);
    return a + b;
}

// Kernels before 3.14 have no MemAvailable; free memory and the caches the
// kernel can drop stand in for it.
quint64 availablePhysical(const Fields &fields)
{
    if (fields[MemAvailable])
        return *fields[MemAvailable];
    return sum(sum(required(fields, MemFree), required(fields, Buffers)), required(fields, Cached));
}

// The share of physical memory in use, in whole percent.
quint32 loadOf(quint64 total, quint64 available)
{
    if (total == 0)
        return 0;
    const quint64 used = total - qMin(available, total);
    if (used <= Maximum / 100)
        return quint32(used * 100 / total);
    return quint32(used / (total / 100));
}

} // namespace

MemoryStatus MeminfoParser::memoryStatus(QByteArrayView meminfo, bool commitLimitEnforced)
{
    const Fields fields = parseFields(meminfo);
    MemoryStatus status;
    status.totalPhys = required(fields, MemTotal);
    status.availPhys = availablePhysical(fields);
    status.memoryLoad = loadOf(status.totalPhys, status.availPhys);
    if (commitLimitEnforced) {
        status.totalPageFile = required(fields, CommitLimit);
        status.availPageFile = status.totalPageFile - qMin(required(fields, CommittedAs), status.totalPageFile);
    } else {
        // Memory plus swap is what can be committed, as RAM plus paging files is elsewhere.
        status.totalPageFile = sum(status.totalPhys, required(fields, SwapTotal));
        status.availPageFile = sum(status.availPhys, required(fields, SwapFree));
    }
    return status;
}

bool MeminfoParser::isCommitLimitEnforced(QByteArrayView overcommitMemory)
{
    return overcommitMemory.trimmed() == "2";
}

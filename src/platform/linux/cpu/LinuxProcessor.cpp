// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxProcessor.h"

#include "LinuxProcessorTexts.h"
#include "ProcessorIdentityDecoder.h"
#include "platform/linux/system/CpuTopology.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The small sysfs and device tree files: a name or a register.
constexpr qint64 SmallFileSize = 4096;

std::optional<QByteArray> readFile(const QString &path, qint64 maximumSize = SmallFileSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(maximumSize);
}

} // namespace

LinuxProcessor::LinuxProcessor(QString rootDirectory, ProcessFacts process)
    : m_root(std::move(rootDirectory))
    , m_process(std::move(process))
{
}

ProcessorIdentity LinuxProcessor::identity() const
{
    std::call_once(m_read, [this] { m_identity = ProcessorIdentityDecoder::decode(readTexts()); });
    return m_identity;
}

QString LinuxProcessor::path(const QString &relative) const
{
    return QDir(m_root).filePath(relative);
}

LinuxProcessorTexts LinuxProcessor::readTexts() const
{
    LinuxProcessorTexts texts;
    texts.machine = m_process.machine;
    texts.hwcap = m_process.hwcap;
    texts.hwcap2 = m_process.hwcap2;
    texts.cpuinfo = readFile(path(u"proc/cpuinfo"_s), MaximumCpuinfoSize).value_or(QByteArray());
    texts.midr = readMidr();
    texts.deviceTreeModel = readFile(path(u"proc/device-tree/model"_s));
    texts.dmiSysVendor = readFile(path(u"sys/class/dmi/id/sys_vendor"_s)).value_or(QByteArray());
    texts.dmiProductName = readFile(path(u"sys/class/dmi/id/product_name"_s)).value_or(QByteArray());
    texts.onlineProcessors = readOnlineProcessors();
    return texts;
}

std::optional<QList<QByteArray>> LinuxProcessor::readMidr() const
{
    // Only CPUs that are online have the directory; its file is empty where the register reads 0.
    const QDir cpus(path(u"sys/devices/system/cpu"_s));
    QList<int> numbers;
    for (const QString &name : cpus.entryList({u"cpu*"_s}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const int number = name.mid(3).toInt(&isNumber);
        if (isNumber && number >= 0)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    std::optional<QList<QByteArray>> registers;
    for (const int number : std::as_const(numbers)) {
        const QString identification = cpus.filePath(u"cpu%1/regs/identification"_s.arg(number));
        if (!QFileInfo(identification).isDir())
            continue;
        if (!registers)
            registers.emplace();
        registers->append(readFile(identification + u"/midr_el1"_s).value_or(QByteArray()));
    }
    return registers;
}

int LinuxProcessor::readOnlineProcessors() const
{
    const std::optional<QList<int>> online = CpuTopology::cpuList(
        readFile(path(u"sys/devices/system/cpu/online"_s)).value_or(QByteArray()));
    return online ? int(online->size()) : 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/ProcessorIdentityReport.h"
#include "platform/linux/cpu/LinuxProcessorTexts.h"
#include "platform/linux/cpu/MainIdRegister.h"
#include "platform/linux/cpu/ProcessorIdentityDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The text of /proc/cpuinfo as each processor family's decoder reads it, and the
// Processor page's lines made of what it found; the same bytes as a midr_el1
// file, a device tree model and the name table.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Copied without a terminating NUL: a read past the end is a sanitizer report.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char *machine : {"aarch64", "armv7l", "riscv64", "loongarch64", "ppc64le"}) {
        LinuxProcessorTexts texts;
        texts.machine = QString::fromLatin1(machine);
        texts.cpuinfo = bytes;
        texts.midr = QList<QByteArray>{bytes, bytes.left(20)};
        texts.deviceTreeModel = bytes.left(64);
        texts.hwcap = size;
        const ProcessorIdentity identity = ProcessorIdentityDecoder::decode(texts);
        const QList<ProcessorPage::ReportLine> lines = ProcessorIdentityReport::lines(identity);
        // Whatever the file says, the page's lines must fit its image.
        if (lines.size() > ProcessorIdentityReport::MaximumLines)
            std::abort();
        for (const ProcessorPage::ReportLine &line : lines)
            if (ProcessorIdentityReport::textWidth(line.label + line.value) > ProcessorIdentityReport::LineWidth)
                std::abort();
    }
    MainIdRegister::fromSysfs(bytes);
    ProcessorNames::parse(bytes);
    return 0;
}

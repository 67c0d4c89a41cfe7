// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeProcessor.h"

#include "FakeMachine.h"
#include "platform/linux/cpu/ProcessorIdentityDecoder.h"

ProcessorIdentity FakeProcessor::identity() const
{
    const FakeProcessorTexts &fixture = m_machine.processor;
    LinuxProcessorTexts texts;
    texts.machine = fixture.architecture;
    texts.cpuinfo = fixture.procCpuinfo;
    if (fixture.midr) {
        texts.midr.emplace();
        for (const QString &midr : *fixture.midr)
            texts.midr->append(midr.toUtf8());
    }
    texts.hwcap = fixture.hwcap;
    texts.hwcap2 = fixture.hwcap2;
    if (fixture.deviceTreeModel)
        texts.deviceTreeModel = fixture.deviceTreeModel->toUtf8();
    texts.dmiSysVendor = fixture.dmiSysVendor.toUtf8();
    texts.dmiProductName = fixture.dmiProductName.toUtf8();
    return ProcessorIdentityDecoder::decode(texts);
}

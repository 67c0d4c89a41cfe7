// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinuxProcessorTexts.h"
#include "ProcessorNames.h"
#include "platform/ProcessorSource.h"

// Reads the identity out of what Linux says, for each processor family in its
// own words: Arm by the Main ID Register of each CPU and the auxiliary vector,
// RISC-V and LoongArch by their /proc/cpuinfo keys, any other by the keys most
// families share ("model name", "vendor_id", "features"). Whatever a text
// lacks or garbles is left out; nothing is guessed.
class ProcessorIdentityDecoder
{
public:
    static ProcessorIdentity decode(const LinuxProcessorTexts &texts,
                                    const ProcessorNames &names = ProcessorNames::builtIn());

    // The board or system name: the device tree's model, else DMI's vendor and product.
    static QString board(const LinuxProcessorTexts &texts);
};

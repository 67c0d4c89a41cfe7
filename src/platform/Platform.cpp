// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform.h"

#include "ProcessorSource.h"

namespace {

class UnknownProcessor final : public ProcessorSource
{
public:
    ProcessorIdentity identity() const override { return {}; }
};

} // namespace

ProcessorSource &Platform::processor()
{
    static UnknownProcessor unknown;
    return unknown;
}

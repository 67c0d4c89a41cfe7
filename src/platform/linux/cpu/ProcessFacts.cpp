// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessFacts.h"

#include <sys/auxv.h>
#include <sys/utsname.h>

ProcessFacts ProcessFacts::ofThisProcess()
{
    ProcessFacts facts;
    struct utsname names = {};
    if (::uname(&names) == 0)
        facts.machine = QString::fromLatin1(names.machine);
    facts.hwcap = ::getauxval(AT_HWCAP);
    facts.hwcap2 = ::getauxval(AT_HWCAP2);
    return facts;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MachineReadings.h"

class TFormMain;

// The facts as the window shows them now, with what its pages hold but do not
// draw; a label not written yet is a fact not shown yet.
class WindowFactReader
{
public:
    // In another language than the window's, the texts a page draws are made as it would draw them in it.
    static MachineReadings read(const TFormMain &window, const Wording &words = Wording::shown());
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// What each control of the window is to a reader: the value labels, which the mouse can select, the
// Tab key reaches and the captions beside them name, the processor report's lines, which the arrow
// keys reach one by one, and names for the controls that show no caption.
namespace ControlRoles {

// Applies the roles to the window's controls, found by name.
void apply(QWidget &window);

} // namespace ControlRoles

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// What each control of the window is to a reader: the value labels, which the mouse can select
// and which the captions beside them name, and names for the controls that show no caption.
namespace ControlRoles {

// Applies the roles to the window's controls, found by name.
void apply(QWidget &window);

} // namespace ControlRoles

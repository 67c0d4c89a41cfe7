// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How screen readers and other assistive tools read the window's own controls: a label's
// caption (or, for a value, the caption that names it and the value as its text), the lines
// an image shows, a link that can be pressed, the graph and the shapes as what they are.
namespace AccessibleControls {

// Makes the interfaces known to Qt's accessibility; once per process is enough, more is harmless.
void install();

} // namespace AccessibleControls

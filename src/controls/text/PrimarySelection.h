// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The X11 primary selection, which a middle click pastes: what the mouse selects goes there.
namespace PrimarySelection {

void offer(const QString &text);
// The selection's text; where the platform keeps none (Wayland without it, a headless run),
// the text last offered, so that what the window offers can still be read.
QString text();

} // namespace PrimarySelection

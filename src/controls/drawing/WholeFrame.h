// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFrame;
class QStyleOptionFrame;

// Paints a frame over the one the style painted, on a screen of fractional
// density (1.25, 1.5): there a one-pixel line the style draws falls between
// device pixels and is cut off at the control's edge or covered by its
// contents. This draws the style's frame as it looks at one device pixel per
// pixel, widened without smoothing, so that every edge keeps at least one
// device pixel. At whole densities the style's own frame is whole and stays.
void paintWholeFrame(QFrame &frame, const QStyleOptionFrame &option);

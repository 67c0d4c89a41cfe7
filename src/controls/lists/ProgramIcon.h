// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The program's icon, read from the program's resources by Qt's own PNG
// decoder. A picture read without naming its format makes Qt load every
// image format plug-in installed to ask each whether it reads it: JPEG, GIF
// and ICO libraries the window never uses, a third of a megabyte resident.
namespace ProgramIcon {

// The image of this many pixels square; null when there is none.
QImage image(int size);
// An icon holding the images of these sizes.
QIcon icon(const QList<int> &sizes);

} // namespace ProgramIcon

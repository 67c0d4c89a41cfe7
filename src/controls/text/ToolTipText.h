// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Tooltips that show texts from outside as plain text, each line whole: a name that looks like
// markup stays as it is, and a command is never broken at a hyphen or a blank.
namespace ToolTipText {

// The lines as a tooltip, control characters as their pictures.
QString fromLines(const QStringList &lines);
// What a tooltip shows, as plain text.
QString plainText(const QString &toolTip);

} // namespace ToolTipText

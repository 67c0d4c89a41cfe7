// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The text with every "$V$" (in any letter case) replaced by the version,
// left to right; an inserted version is never searched again.
QString ReplaceVersionPlaceholder(const QString &text, const QString &version);

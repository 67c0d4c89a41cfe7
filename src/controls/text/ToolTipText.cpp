// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolTipText.h"

#include "controls/text/JoinedText.h"

#include <QTextDocument>

using namespace Qt::StringLiterals;

QString ToolTipText::fromLines(const QStringList &lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (const QString &line : lines)
        escaped.append(JoinedText::withVisibleControls(line).toHtmlEscaped());
    // Markup makes the tooltip wrap at a quarter of the screen's width; "pre" keeps each line whole.
    return u"<p style='white-space:pre'>"_s + escaped.join(u"<br>"_s) + u"</p>"_s;
}

QString ToolTipText::plainText(const QString &toolTip)
{
    QTextDocument shown;
    shown.setHtml(toolTip);
    return shown.toPlainText();
}

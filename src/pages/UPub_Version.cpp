// SPDX-License-Identifier: GPL-3.0-or-later
#include "UPub_Version.h"

QString ReplaceVersionPlaceholder(const QString &text, const QString &version)
{
    static const QString placeholder = QStringLiteral("$V$");
    QString result;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(placeholder, from, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(placeholder, from, Qt::CaseInsensitive)) {
        result += QStringView(text).mid(from, at - from);
        result += version;
        from = at + placeholder.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

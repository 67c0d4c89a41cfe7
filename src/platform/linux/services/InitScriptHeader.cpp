// SPDX-License-Identifier: GPL-3.0-or-later
#include "InitScriptHeader.h"

#include <QList>

std::optional<QString> InitScriptHeader::shortDescription(const QByteArray &script)
{
    static constexpr QByteArrayView Begin = "### BEGIN INIT INFO";
    static constexpr QByteArrayView End = "### END INIT INFO";
    static constexpr QByteArrayView Key = "Short-Description:";

    bool inBlock = false;
    for (const QByteArray &raw : script.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!inBlock) {
            inBlock = line == Begin;
            continue;
        }
        if (line == End || !line.startsWith('#'))
            break;
        const QByteArray field = line.mid(1).trimmed();
        if (field.startsWith(Key)) {
            const QByteArray value = field.mid(Key.size()).trimmed();
            if (!value.isEmpty())
                return QString::fromUtf8(value);
        }
    }
    return std::nullopt;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DpkgStatus.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace {

struct Stanza
{
    QByteArrayView package;
    QByteArrayView architecture;
    QByteArrayView status;
};

// The value of "Name: value" when the line holds that field (names are case-insensitive).
bool fieldValue(QByteArrayView line, QByteArrayView name, QByteArrayView &value)
{
    if (line.size() <= name.size() || line.at(name.size()) != ':'
        || qstrnicmp(line.data(), name.data(), size_t(name.size())) != 0)
        return false;
    value = line.sliced(name.size() + 1).trimmed();
    return true;
}

// "want flag status": the package's files are on the machine and configured
// (trigger processing may still be due), whatever was selected for it next.
bool isInstalled(QByteArrayView status)
{
    const QList<QByteArray> words = status.toByteArray().split(' ');
    if (words.size() != 3 || words.at(1) != "ok")
        return false;
    const QByteArray &state = words.at(2);
    return state == "installed" || state == "triggers-pending" || state == "triggers-awaited";
}

QList<Stanza> stanzas(const QByteArray &status)
{
    QList<Stanza> result;
    Stanza current;
    bool open = false;
    qsizetype start = 0;
    while (start <= status.size()) {
        qsizetype end = status.indexOf('\n', start);
        if (end < 0)
            end = status.size();
        const QByteArrayView line = QByteArrayView(status).sliced(start, end - start);
        start = end + 1;
        if (line.trimmed().isEmpty()) {
            if (open)
                result.append(current);
            current = {};
            open = false;
            continue;
        }
        open = true;
        if (line.front() == ' ' || line.front() == '\t')
            continue; // a continuation line belongs to the field above
        if (!fieldValue(line, "Package", current.package) && !fieldValue(line, "Status", current.status))
            fieldValue(line, "Architecture", current.architecture);
    }
    if (open)
        result.append(current);
    return result;
}

} // namespace

QStringList DpkgStatus::installedPackages(const QByteArray &status)
{
    QList<Stanza> installed;
    QHash<QByteArrayView, int> architectureCount;
    QSet<QByteArray> seen;
    for (const Stanza &stanza : stanzas(status)) {
        if (stanza.package.isEmpty() || !isInstalled(stanza.status))
            continue;
        const QByteArray key = stanza.package.toByteArray() + ':' + stanza.architecture.toByteArray();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        installed.append(stanza);
        ++architectureCount[stanza.package];
    }
    QStringList names;
    names.reserve(installed.size());
    for (const Stanza &stanza : std::as_const(installed)) {
        QString name = QString::fromUtf8(stanza.package);
        if (architectureCount.value(stanza.package) > 1)
            name += u':' + QString::fromUtf8(stanza.architecture);
        names.append(name);
    }
    return names;
}

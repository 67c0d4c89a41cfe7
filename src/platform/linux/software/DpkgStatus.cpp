// SPDX-License-Identifier: GPL-3.0-or-later
#include "DpkgStatus.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <utility>

namespace {

struct Stanza
{
    QByteArrayView package;
    QByteArrayView architecture;
    QByteArrayView status;
    QByteArrayView version;
    QByteArrayView essential;
    QByteArrayView priority;
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

// Keeps the fields the list needs; every other field is passed over.
void readField(QByteArrayView line, Stanza &stanza)
{
    const std::pair<QByteArrayView, QByteArrayView *> fields[] = {
        {"Package", &stanza.package}, {"Status", &stanza.status},       {"Architecture", &stanza.architecture},
        {"Version", &stanza.version}, {"Essential", &stanza.essential}, {"Priority", &stanza.priority},
    };
    for (const auto &[name, value] : fields)
        if (fieldValue(line, name, *value))
            return;
}

bool isRequired(const Stanza &stanza)
{
    return stanza.essential.compare("yes", Qt::CaseInsensitive) == 0
        || stanza.priority.compare("required", Qt::CaseInsensitive) == 0;
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
        readField(line, current);
    }
    if (open)
        result.append(current);
    return result;
}

} // namespace

QStringList DpkgStatus::installedPackages(const QByteArray &status)
{
    QStringList names;
    for (const Package &package : installed(status))
        names.append(package.name);
    return names;
}

QList<DpkgStatus::Package> DpkgStatus::installed(const QByteArray &status)
{
    QList<Stanza> kept;
    QHash<QByteArrayView, int> architectureCount;
    QSet<QByteArray> seen;
    for (const Stanza &stanza : stanzas(status)) {
        if (stanza.package.isEmpty() || !isInstalled(stanza.status))
            continue;
        const QByteArray key = stanza.package.toByteArray() + ':' + stanza.architecture.toByteArray();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        kept.append(stanza);
        ++architectureCount[stanza.package];
    }
    QList<Package> packages;
    packages.reserve(kept.size());
    for (const Stanza &stanza : std::as_const(kept)) {
        QString name = QString::fromUtf8(stanza.package);
        if (architectureCount.value(stanza.package) > 1)
            name += u':' + QString::fromUtf8(stanza.architecture);
        packages.append({name, QString::fromUtf8(stanza.version), isRequired(stanza)});
    }
    return packages;
}

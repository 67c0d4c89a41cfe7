// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/services/SystemdServiceList.h"
#include "platform/linux/services/SystemdUnitFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaximumDropIns = 6;
const QString ServiceSuffix = u".service"_s;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The unit names the tree is written under: a plain unit, an instance whose
// template directory holds drop-ins too, and one whose instance needs unescaping.
QString unitNameFor(std::size_t size)
{
    static const QString names[] = {u"fuzz.service"_s, u"getty@tty3.service"_s, u"fuzz@a\\x2db-c.service"_s};
    return names[size % std::size(names)];
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}

// What systemd shows for the unit: the last Description= of the unit file and its
// drop-ins in the order they apply, specifiers expanded, else the unit's name.
QStringList expectedNames(const QList<QByteArray> &files, const QString &unitName)
{
    if (files.constFirst().isEmpty())
        return {}; // an empty unit file masks the unit
    std::optional<QString> description;
    for (const QByteArray &file : files)
        if (std::optional<QString> overriding = SystemdUnitFile::description(file))
            description = overriding;
    if (description && !description->isEmpty())
        return {SystemdUnitFile::expandSpecifiers(*description, unitName)};
    return {unitName.chopped(ServiceSuffix.size())};
}

// A tree in memory where there is one: on a disk the directories written and removed
// at every run slow the fuzzer down tenfold.
QString treeTemplate()
{
    const QString memory = u"/dev/shm"_s;
    return (QFileInfo(memory).isWritable() ? memory : QDir::tempPath()) + u"/pelzora-fuzz-XXXXXX"_s;
}

// The unit file and its drop-ins as they lie on a machine, listed by the real reader.
void checkUnitTree(const QList<QByteArray> &files, const QString &unitName)
{
    static QTemporaryDir root(treeTemplate());
    require(root.isValid());
    QDir(root.filePath(u"etc"_s)).removeRecursively();
    QDir(root.filePath(u"usr"_s)).removeRecursively();

    const QString directories[] = {root.filePath(u"etc/systemd/system/"_s),
                                   root.filePath(u"usr/lib/systemd/system/"_s)};
    const qsizetype at = unitName.indexOf(u'@');
    const QString templateName = at < 0 ? unitName : unitName.first(at + 1) + ServiceSuffix;
    writeFile(directories[files.size() % 2] + unitName, files.constFirst());
    for (qsizetype i = 1; i < files.size(); ++i) {
        // Drop-ins apply in the order of their file names, whichever directory holds them.
        const QString dropInDirectory = (i % 3 == 2 ? templateName : unitName) + u".d/"_s;
        writeFile(directories[i % 2] + dropInDirectory + u"%1.conf"_s.arg(int(i), 2, 10, QChar(u'0')), files.at(i));
    }
    require(SystemdServiceList(root.path()).displayNames() == expectedNames(files, unitName));
}

// Instance names are escaped as systemd-escape does: every byte as \xNN reads back as itself.
void checkInstanceEscapes(QByteArrayView bytes)
{
    QByteArray escaped;
    for (const char byte : bytes)
        escaped += "\\x" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
    const QString unitName = u"fuzz@"_s + QString::fromLatin1(escaped) + ServiceSuffix;
    require(SystemdUnitFile::expandSpecifiers(u"%I"_s, unitName) == QString::fromUtf8(bytes));
}

// Without a whole \xNN escape in it, an instance reads back with only its "-" turned into "/".
void checkPlainInstance(QByteArrayView bytes)
{
    static const QRegularExpression escape(u"\\\\x[0-9A-Fa-f]{2}"_s);
    const QString instance = QString::fromUtf8(bytes);
    if (instance.contains(escape))
        return;
    const QString unitName = u"fuzz@"_s + instance + ServiceSuffix;
    require(SystemdUnitFile::expandSpecifiers(u"%I"_s, unitName) == QString(instance).replace(u'-', u'/'));
}

} // namespace

// A unit file, then its drop-ins, each after a NUL byte (a real file holds none).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> files = input.split('\0');
    files.resize(qMin(files.size(), 1 + MaximumDropIns));

    // A unit's name comes from a directory listing, as much outside data as its file.
    const QByteArray firstLine = files.constFirst().left(files.constFirst().indexOf('\n'));
    SystemdUnitFile::expandSpecifiers(u"%n %N %p %P %i %I %% %x %"_s, QString::fromUtf8(firstLine));
    checkInstanceEscapes(QByteArrayView(firstLine).first(qMin<qsizetype>(firstLine.size(), 64)));
    checkPlainInstance(firstLine);

    checkUnitTree(files, unitNameFor(size));
    return 0;
}

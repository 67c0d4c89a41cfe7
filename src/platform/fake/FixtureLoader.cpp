// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixtureLoader.h"

#include "FakeMachine.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Walks one JSON value, remembering its key path for messages.
class Node
{
public:
    Node(QJsonValue value, QString path, QString source)
        : m_value(std::move(value))
        , m_path(std::move(path))
        , m_source(std::move(source))
    {
    }

    const QJsonValue &value() const { return m_value; }
    bool isNull() const { return m_value.isNull(); }

    [[noreturn]] void fail(const QString &what) const
    {
        throw FixtureError((u"%1: %2: %3"_s.arg(m_source, m_path, what)).toStdString());
    }

    Node member(const QString &key) const
    {
        return Node(object().value(key), m_path.isEmpty() ? key : m_path + u'.' + key, m_source);
    }

    Node element(qsizetype i) const { return Node(array().at(i), u"%1[%2]"_s.arg(m_path).arg(i), m_source); }

    bool has(const QString &key) const { return object().contains(key); }

    QJsonObject object() const
    {
        if (!m_value.isObject())
            fail(u"expected an object, got %1"_s.arg(describe()));
        return m_value.toObject();
    }

    QJsonArray array() const
    {
        if (!m_value.isArray())
            fail(u"expected an array, got %1"_s.arg(describe()));
        return m_value.toArray();
    }

    // A list of values, or a single value standing for a list of one.
    QList<Node> elements() const
    {
        QList<Node> nodes;
        if (!m_value.isArray()) {
            nodes.append(*this);
            return nodes;
        }
        for (qsizetype i = 0; i < m_value.toArray().size(); ++i)
            nodes.append(element(i));
        return nodes;
    }

    QString string() const
    {
        if (!m_value.isString())
            fail(u"expected a string, got %1"_s.arg(describe()));
        return m_value.toString();
    }

    std::optional<QString> optionalString() const
    {
        if (m_value.isNull() || m_value.isUndefined())
            return std::nullopt;
        return string();
    }

    bool boolean() const
    {
        if (!m_value.isBool())
            fail(u"expected true or false, got %1"_s.arg(describe()));
        return m_value.toBool();
    }

    // A JSON number or a string "0x..." / decimal, within [low, high].
    template<typename T>
    T number(T low = std::numeric_limits<T>::min(), T high = std::numeric_limits<T>::max()) const
    {
        bool ok = false;
        T result{};
        if (m_value.isDouble()) {
            const double d = m_value.toDouble();
            // "< high + 1": double(high) of a 64-bit type rounds up to a value the type cannot hold.
            ok = std::isfinite(d) && std::trunc(d) == d && d >= double(low) && d < double(high) + 1.0;
            if (ok)
                result = T(d);
        } else if (m_value.isString()) {
            const QString text = m_value.toString().trimmed();
            const bool hex = text.startsWith(u"0x"_s, Qt::CaseInsensitive);
            const bool negative = text.startsWith(u'-');
            if (negative) {
                const qint64 v = text.toLongLong(&ok, 10);
                ok = ok && std::is_signed_v<T> && v >= qint64(low) && v <= qint64(high);
                if (ok)
                    result = T(v);
            } else {
                const quint64 v = hex ? text.mid(2).toULongLong(&ok, 16) : text.toULongLong(&ok, 10);
                ok = ok && v <= quint64(high) && (low <= 0 || v >= quint64(low));
                if (ok)
                    result = T(v);
            }
        } else {
            fail(u"expected a number or a \"0x...\" string, got %1"_s.arg(describe()));
        }
        if (!ok)
            fail(u"%1 is not a number from %2 to %3"_s.arg(describe(), widened(low), widened(high)));
        return result;
    }

    template<typename T>
    static QString widened(T n)
    {
        if constexpr (std::is_signed_v<T>)
            return QString::number(qint64(n));
        else
            return QString::number(quint64(n));
    }

    QString describe() const
    {
        switch (m_value.type()) {
        case QJsonValue::Null:
            return u"null"_s;
        case QJsonValue::Bool:
            return m_value.toBool() ? u"true"_s : u"false"_s;
        case QJsonValue::Double:
            return QString::number(m_value.toDouble(), 'g', 17);
        case QJsonValue::String:
            return u"\"%1\""_s.arg(m_value.toString());
        case QJsonValue::Array:
            return u"an array"_s;
        case QJsonValue::Object:
            return u"an object"_s;
        case QJsonValue::Undefined:
            return u"nothing"_s;
        }
        return u"nothing"_s;
    }

    const QString &path() const { return m_path; }
    const QString &source() const { return m_source; }

private:
    QJsonValue m_value;
    QString m_path;
    QString m_source;
};

void readCpuid(const Node &node, FakeCpu &cpu)
{
    cpu = FakeCpu();
    if (node.has(u"available"_s))
        cpu.available = node.member(u"available"_s).boolean();
    if (!node.has(u"leaves"_s))
        return;
    const Node leaves = node.member(u"leaves"_s);
    const QJsonObject leafObject = leaves.object();
    for (auto it = leafObject.begin(); it != leafObject.end(); ++it) {
        const Node leafNode = leaves.member(it.key());
        const quint32 leaf = Node(QJsonValue(it.key()), leafNode.path(), leafNode.source()).number<quint32>();
        const QJsonArray words = leafNode.array();
        if (words.size() != 4)
            leafNode.fail(u"expected four registers [eax, ebx, ecx, edx], got %1"_s.arg(words.size()));
        cpu.leaves[leaf] = {leafNode.element(0).number<quint32>(), leafNode.element(1).number<quint32>(),
                            leafNode.element(2).number<quint32>(), leafNode.element(3).number<quint32>()};
    }
}

MemoryStatus readMemoryStatus(const Node &node)
{
    node.object();
    MemoryStatus status;
    if (node.has(u"load"_s))
        status.memoryLoad = node.member(u"load"_s).number<quint32>();
    const std::pair<const char16_t *, quint64 MemoryStatus::*> sizes[] = {
        {u"totalPhys", &MemoryStatus::totalPhys},
        {u"availPhys", &MemoryStatus::availPhys},
        {u"totalPageFile", &MemoryStatus::totalPageFile},
        {u"availPageFile", &MemoryStatus::availPageFile},
    };
    for (const auto &[key, field] : sizes)
        if (node.has(QString::fromUtf16(key)))
            status.*field = node.member(QString::fromUtf16(key)).number<quint64>();
    return status;
}

FakeDrive readDrive(const Node &node)
{
    node.object();
    FakeDrive drive;
    const QString letter = node.member(u"letter"_s).string();
    if (letter.size() != 1 || !letter.at(0).isLetter() || letter.at(0).toUpper() > u'Z')
        node.member(u"letter"_s).fail(u"expected one letter from A to Z, got \"%1\""_s.arg(letter));
    drive.letter = letter.at(0).toUpper();
    if (node.has(u"type"_s))
        drive.type = node.member(u"type"_s).number<quint32>();
    if (node.has(u"label"_s))
        drive.label = node.member(u"label"_s).string();
    if (node.has(u"serial"_s))
        drive.serial = node.member(u"serial"_s).number<quint32>();
    if (node.has(u"fileSystem"_s))
        drive.fileSystem = node.member(u"fileSystem"_s).string();
    if (node.has(u"totalBytes"_s))
        drive.totalBytes = node.member(u"totalBytes"_s).number<quint64>();
    if (node.has(u"freeBytes"_s))
        drive.freeBytes = node.member(u"freeBytes"_s).number<quint64>();
    if (node.has(u"remoteName"_s))
        drive.remoteName = node.member(u"remoteName"_s).optionalString();
    if (node.has(u"ready"_s))
        drive.ready = node.member(u"ready"_s).boolean();
    if (node.has(u"volumeQueryFails"_s))
        drive.volumeQueryFails = node.member(u"volumeQueryFails"_s).boolean();
    if (node.has(u"mountPoint"_s))
        drive.mountPoint = node.member(u"mountPoint"_s).string();
    if (node.has(u"device"_s))
        drive.device = node.member(u"device"_s).string();
    return drive;
}

QList<FakeDrive> readDrives(const Node &node)
{
    QList<FakeDrive> drives;
    for (const Node &element : node.elements()) {
        FakeDrive drive = readDrive(element);
        for (const FakeDrive &other : std::as_const(drives))
            if (other.letter == drive.letter)
                element.member(u"letter"_s).fail(u"drive %1 is listed twice"_s.arg(drive.letter));
        drives.append(drive);
    }
    return drives;
}

FakeServiceTable readServices(const Node &node)
{
    node.object();
    FakeServiceTable services;
    if (node.has(u"managerOpens"_s))
        services.managerOpens = node.member(u"managerOpens"_s).boolean();
    if (node.has(u"displayNames"_s)) {
        const Node names = node.member(u"displayNames"_s);
        for (qsizetype i = 0; i < names.array().size(); ++i)
            services.displayNames.append(names.element(i).string());
    }
    if (node.has(u"names"_s)) {
        const Node names = node.member(u"names"_s);
        for (qsizetype i = 0; i < names.array().size(); ++i)
            services.names.append(names.element(i).string());
    }
    return services;
}

QByteArray littleEndian(quint64 value, int bytes)
{
    QByteArray data;
    for (int i = 0; i < bytes; ++i)
        data.append(char((value >> (8 * i)) & 0xFF));
    return data;
}

FakeRegistryValue readRegistryValue(const Node &node)
{
    node.object();
    FakeRegistryValue value;
    const Node typeNode = node.member(u"type"_s);
    const QString type = typeNode.string();
    const Node data = node.member(u"data"_s);
    if (type == u"REG_SZ"_s || type == u"REG_EXPAND_SZ"_s) {
        value.type = type == u"REG_SZ"_s ? RegistryValueType::Sz : RegistryValueType::ExpandSz;
        value.data = data.string().toUtf8() + '\0';
    } else if (type == u"REG_DWORD"_s) {
        value.type = RegistryValueType::DWord;
        value.data = littleEndian(data.number<quint32>(), 4);
    } else if (type == u"REG_QWORD"_s) {
        value.type = RegistryValueType::QWord;
        value.data = littleEndian(data.number<quint64>(), 8);
    } else if (type == u"REG_BINARY"_s) {
        value.type = RegistryValueType::Binary;
        for (qsizetype i = 0; i < data.array().size(); ++i)
            value.data.append(char(data.element(i).number<quint8>()));
    } else if (type == u"REG_MULTI_SZ"_s) {
        value.type = RegistryValueType::MultiSz;
        for (qsizetype i = 0; i < data.array().size(); ++i)
            value.data += data.element(i).string().toUtf8() + '\0';
        value.data += '\0';
    } else {
        typeNode.fail(u"unknown registry type \"%1\" (REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD, "
                      "REG_BINARY or REG_MULTI_SZ)"_s.arg(type));
    }
    if (node.has(u"readFails"_s))
        value.readFails = node.member(u"readFails"_s).boolean();
    return value;
}

FakeUninstall readUninstall(const Node &node)
{
    node.object();
    FakeUninstall uninstall;
    if (node.has(u"keyOpens"_s))
        uninstall.keyOpens = node.member(u"keyOpens"_s).boolean();
    if (!node.has(u"keys"_s))
        return uninstall;
    const Node keys = node.member(u"keys"_s);
    for (qsizetype i = 0; i < keys.array().size(); ++i) {
        const Node keyNode = keys.element(i);
        keyNode.object();
        FakeUninstallKey key;
        key.name = keyNode.member(u"name"_s).string();
        if (keyNode.has(u"opens"_s))
            key.opens = keyNode.member(u"opens"_s).boolean();
        if (keyNode.has(u"values"_s)) {
            const Node values = keyNode.member(u"values"_s);
            const QJsonObject valueObject = values.object();
            for (auto it = valueObject.begin(); it != valueObject.end(); ++it)
                key.values.insert(it.key(), readRegistryValue(values.member(it.key())));
        }
        uninstall.keys.append(key);
    }
    return uninstall;
}

FakePrinter readPrinter(const Node &node)
{
    node.object();
    FakePrinter printer;
    printer.name = node.member(u"name"_s).string();
    if (node.has(u"port"_s))
        printer.port = node.member(u"port"_s).string();
    if (node.has(u"dmColor"_s))
        printer.dmColor = node.member(u"dmColor"_s).number<qint16>();
    if (node.has(u"colorFlag"_s))
        printer.colorFlag = node.member(u"colorFlag"_s).boolean();
    if (node.has(u"dpi"_s)) {
        const Node dpi = node.member(u"dpi"_s);
        if (dpi.array().size() != 2)
            dpi.fail(u"expected [x, y]"_s);
        printer.dpiX = dpi.element(0).number<int>();
        printer.dpiY = dpi.element(1).number<int>();
    }
    if (node.has(u"infoContext"_s))
        printer.infoContext = node.member(u"infoContext"_s).boolean();
    if (node.has(u"devmodeSize"_s))
        printer.devmodeSize = node.member(u"devmodeSize"_s).number<int>();
    return printer;
}

FakePrinterTable readPrinters(const Node &node)
{
    node.object();
    FakePrinterTable printers;
    if (node.has(u"list"_s)) {
        const Node list = node.member(u"list"_s);
        for (qsizetype i = 0; i < list.array().size(); ++i)
            printers.list.append(readPrinter(list.element(i)));
    }
    if (node.has(u"default"_s))
        printers.defaultName = node.member(u"default"_s).optionalString();
    return printers;
}

quint32 readIpv4(const Node &node)
{
    const QString text = node.string();
    QHostAddress address;
    if (!address.setAddress(text) || address.protocol() != QAbstractSocket::IPv4Protocol)
        node.fail(u"\"%1\" is not an IPv4 address"_s.arg(text));
    return address.toIPv4Address();
}

FakeSystem readSystem(const Node &node)
{
    node.object();
    FakeSystem system;
    if (node.has(u"osRelease"_s))
        system.osRelease = node.member(u"osRelease"_s).string().toUtf8();
    if (node.has(u"kernelName"_s))
        system.kernelName = node.member(u"kernelName"_s).string();
    if (node.has(u"kernelRelease"_s))
        system.kernelRelease = node.member(u"kernelRelease"_s).string();
    if (node.has(u"machine"_s))
        system.machine = node.member(u"machine"_s).string();
    if (node.has(u"cpus"_s)) {
        const Node cpus = node.member(u"cpus"_s);
        cpus.object();
        if (cpus.has(u"online"_s))
            system.onlineCpus = cpus.member(u"online"_s).number<int>(0);
        if (cpus.has(u"cores"_s))
            system.cores = cpus.member(u"cores"_s).number<int>(0);
    }
    if (node.has(u"desktop"_s))
        system.desktop = node.member(u"desktop"_s).string();
    if (node.has(u"session"_s))
        system.session = node.member(u"session"_s).string();
    return system;
}

FakeHost readHost(const Node &node)
{
    node.object();
    FakeHost host;
    if (node.has(u"name"_s))
        host.name = node.member(u"name"_s).string().toUtf8();
    if (node.has(u"nameFails"_s))
        host.nameFails = node.member(u"nameFails"_s).boolean();
    if (node.has(u"resolves"_s))
        host.resolves = node.member(u"resolves"_s).boolean();
    if (node.has(u"addresses"_s)) {
        const Node addresses = node.member(u"addresses"_s);
        for (qsizetype i = 0; i < addresses.array().size(); ++i)
            host.addresses.append(readIpv4(addresses.element(i)));
    }
    return host;
}

FakeProcessorTexts readProcessor(const Node &node)
{
    node.object();
    FakeProcessorTexts processor;
    if (node.has(u"architecture"_s))
        processor.architecture = node.member(u"architecture"_s).string();
    if (node.has(u"procCpuinfo"_s))
        processor.procCpuinfo = node.member(u"procCpuinfo"_s).string().toUtf8();
    if (node.has(u"midr"_s)) {
        const Node midr = node.member(u"midr"_s);
        processor.midr.emplace();
        for (qsizetype i = 0; i < midr.array().size(); ++i)
            processor.midr->append(midr.element(i).string());
    }
    if (node.has(u"hwcap"_s))
        processor.hwcap = node.member(u"hwcap"_s).number<quint64>();
    if (node.has(u"hwcap2"_s))
        processor.hwcap2 = node.member(u"hwcap2"_s).number<quint64>();
    if (node.has(u"deviceTreeModel"_s))
        processor.deviceTreeModel = node.member(u"deviceTreeModel"_s).optionalString();
    if (node.has(u"dmi"_s)) {
        const Node dmi = node.member(u"dmi"_s);
        dmi.object();
        if (dmi.has(u"sysVendor"_s))
            processor.dmiSysVendor = dmi.member(u"sysVendor"_s).string();
        if (dmi.has(u"productName"_s))
            processor.dmiProductName = dmi.member(u"productName"_s).string();
    }
    return processor;
}

FakeDelays readDelays(const Node &node)
{
    node.object();
    // Longer than a test or a soak would wait is a mistake in the fixture.
    constexpr int Longest = 600000;
    FakeDelays delays;
    if (node.has(u"printers"_s))
        delays.printers = node.member(u"printers"_s).number<int>(0, Longest);
    if (node.has(u"drives"_s))
        delays.drives = node.member(u"drives"_s).number<int>(0, Longest);
    return delays;
}

} // namespace

FixtureLoader::FixtureLoader(QString sourceName)
    : m_sourceName(std::move(sourceName))
{
}

FakeMachine FixtureLoader::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FixtureError((u"%1: cannot read the fixture: %2"_s.arg(path, file.errorString())).toStdString());
    return load(file.readAll(), path);
}

FakeMachine FixtureLoader::load(const QByteArray &json, const QString &sourceName)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw FixtureError(
            (u"%1: malformed JSON at offset %2: %3"_s.arg(sourceName).arg(error.offset).arg(error.errorString()))
                .toStdString());
    if (!document.isObject())
        throw FixtureError((u"%1: the fixture must be a JSON object"_s.arg(sourceName)).toStdString());
    FakeMachine machine;
    FixtureLoader(sourceName).apply(document.object(), machine);
    return machine;
}

void FixtureLoader::apply(const QJsonObject &fixture, FakeMachine &machine) const
{
    const Node root(QJsonValue(fixture), QString(), m_sourceName);
    // Parse everything first so a bad fixture leaves the machine as it was.
    FakeMachine next = machine;
    if (root.has(u"cpuid"_s))
        readCpuid(root.member(u"cpuid"_s), next.cpu);
    if (root.has(u"memory"_s)) {
        next.memory = {};
        for (const Node &element : root.member(u"memory"_s).elements())
            next.memory.answers.append(readMemoryStatus(element));
    }
    if (root.has(u"currentDirectory"_s)) {
        next.currentDirectory = root.member(u"currentDirectory"_s).string();
        next.driveDirectories.clear();
    }
    if (root.has(u"drives"_s))
        next.drives = readDrives(root.member(u"drives"_s));
    if (root.has(u"services"_s))
        next.services = readServices(root.member(u"services"_s));
    if (root.has(u"uninstall"_s))
        next.uninstall = readUninstall(root.member(u"uninstall"_s));
    if (root.has(u"printers"_s))
        next.printers = readPrinters(root.member(u"printers"_s));
    if (root.has(u"host"_s))
        next.host = readHost(root.member(u"host"_s));
    if (root.has(u"system"_s))
        next.system = readSystem(root.member(u"system"_s));
    if (root.has(u"tickCount"_s)) {
        next.tickCount = {};
        for (const Node &element : root.member(u"tickCount"_s).elements())
            next.tickCount.answers.append(element.number<quint64>());
    }
    if (root.has(u"shell"_s)) {
        const Node shell = root.member(u"shell"_s);
        shell.object();
        next.shellOpens = {};
        if (shell.has(u"opens"_s))
            for (const Node &element : shell.member(u"opens"_s).elements())
                next.shellOpens.answers.append(element.boolean());
    }
    if (root.has(u"delays"_s))
        next.delays = readDelays(root.member(u"delays"_s));
    if (root.has(u"processor"_s))
        next.processor = readProcessor(root.member(u"processor"_s));
    machine = std::move(next);
}

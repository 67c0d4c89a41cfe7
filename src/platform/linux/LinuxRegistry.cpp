// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxRegistry.h"

#include "InstalledPrograms.h"
#include "RpmQuery.h"

#include <QCoreApplication>
#include <QHash>

#include <malloc.h>

using namespace Qt::StringLiterals;

// The programs, found by key name as the registry finds keys: without regard to case.
class InstalledProgramIndex
{
public:
    explicit InstalledProgramIndex(QList<InstalledProgram> programs)
        : m_programs(std::move(programs))
    {
        m_keyNames.reserve(m_programs.size());
        for (qsizetype i = 0; i < m_programs.size(); ++i) {
            m_keyNames.append(m_programs.at(i).keyName);
            m_byKeyName.insert(m_programs.at(i).keyName.toCaseFolded(), i);
        }
    }

    const QStringList &keyNames() const { return m_keyNames; }

    const InstalledProgram *find(const QString &keyName) const
    {
        const auto it = m_byKeyName.constFind(keyName.toCaseFolded());
        return it == m_byKeyName.cend() ? nullptr : &m_programs.at(*it);
    }

private:
    QList<InstalledProgram> m_programs;
    QStringList m_keyNames;
    QHash<QString, qsizetype> m_byKeyName;
};

namespace {

const QString DisplayNameValue = u"DisplayName"_s;
const QString UninstallStringValue = u"UninstallString"_s;

class UninstallRootKey final : public RegistryKey
{
public:
    explicit UninstallRootKey(std::shared_ptr<const InstalledProgramIndex> programs)
        : m_programs(std::move(programs))
    {
    }

    QStringList subKeyNames() override { return m_programs->keyNames(); }
    std::optional<RegistryValueInfo> queryValue(const QString &) override { return std::nullopt; }
    std::optional<QByteArray> readValue(const QString &) override { return std::nullopt; }

private:
    std::shared_ptr<const InstalledProgramIndex> m_programs;
};

// One program's key; its two values are texts, stored with their NUL.
class ProgramKey final : public RegistryKey
{
public:
    explicit ProgramKey(InstalledProgram program)
        : m_program(std::move(program))
    {
    }

    QStringList subKeyNames() override { return {}; }

    std::optional<RegistryValueInfo> queryValue(const QString &name) override
    {
        const std::optional<QByteArray> data = readValue(name);
        if (!data)
            return std::nullopt;
        return RegistryValueInfo{RegistryValueType::Sz, quint32(data->size())};
    }

    std::optional<QByteArray> readValue(const QString &name) override
    {
        if (name.compare(DisplayNameValue, Qt::CaseInsensitive) == 0)
            return stored(m_program.displayName);
        if (name.compare(UninstallStringValue, Qt::CaseInsensitive) == 0)
            return stored(m_program.uninstallString);
        if (name.compare(RegistrySource::InstallSourceValue, Qt::CaseInsensitive) == 0)
            return stored(m_program.source);
        return std::nullopt;
    }

private:
    static QByteArray stored(const QString &text) { return text.toUtf8() + '\0'; }

    InstalledProgram m_program;
};

} // namespace

LinuxRegistry::LinuxRegistry(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

LinuxRegistry::~LinuxRegistry() = default;

std::unique_ptr<RegistryKey> LinuxRegistry::openKey(const QString &path)
{
    if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0)
        return std::make_unique<UninstallRootKey>(readPrograms());
    const QString prefix = UninstallKey + u'\\';
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return nullptr;
    std::shared_ptr<const InstalledProgramIndex> programs = m_programs.lock();
    if (!programs)
        programs = readPrograms();
    const InstalledProgram *program = programs->find(path.mid(prefix.size()));
    if (!program)
        return nullptr;
    return std::make_unique<ProgramKey>(*program);
}

void LinuxRegistry::notifyChangeKey(const QString &path, const std::function<void()> &changed)
{
    if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0)
        m_uninstallKeyWatchers.append(changed);
}

std::shared_ptr<const InstalledProgramIndex> LinuxRegistry::readPrograms()
{
    const InstalledPrograms sources(m_root);
    QList<InstalledProgram> found = sources.read();
    if (m_rpm)
        found += InstalledPrograms::rpmPrograms(m_rpm->packageNames());
    else if (sources.hasRpmDatabase()) {
        m_rpm = std::make_unique<RpmQuery>(m_root, [this] { rpmAnswered(); });
        m_rpm->start();
    }
    auto programs = std::make_shared<const InstalledProgramIndex>(std::move(found));
    m_programs = programs;
    QCoreApplication *application = QCoreApplication::instance();
    if (!application) {
        m_keptPrograms = programs;
        return programs;
    }
    QMetaObject::invokeMethod(
        application,
        [kept = programs]() mutable {
            kept.reset();
            // Thousands of small strings freed at once leave whole pages free
            // inside the heap; give them back instead of keeping them resident.
            malloc_trim(0);
        },
        Qt::QueuedConnection);
    return programs;
}

void LinuxRegistry::rpmAnswered()
{
    m_programs.reset();
    m_keptPrograms.reset();
    for (const std::function<void()> &changed : std::as_const(m_uninstallKeyWatchers))
        changed();
}

#include "LinuxRegistry.h"

#include "InstalledPrograms.h"
#include "RpmQuery.h"

#include <QHash>

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
    if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0) {
        m_programs = readPrograms();
        return std::make_unique<UninstallRootKey>(m_programs);
    }
    const QString prefix = UninstallKey + u'\\';
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return nullptr;
    if (!m_programs)
        m_programs = readPrograms();
    const InstalledProgram *program = m_programs->find(path.mid(prefix.size()));
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
    QList<InstalledProgram> programs = sources.read();
    if (m_rpm)
        programs += InstalledPrograms::rpmPrograms(m_rpm->packageNames());
    else if (sources.hasRpmDatabase()) {
        m_rpm = std::make_unique<RpmQuery>(m_root, [this] { rpmAnswered(); });
        m_rpm->start();
    }
    return std::make_shared<const InstalledProgramIndex>(std::move(programs));
}

void LinuxRegistry::rpmAnswered()
{
    m_programs.reset();
    for (const std::function<void()> &changed : std::as_const(m_uninstallKeyWatchers))
        changed();
}

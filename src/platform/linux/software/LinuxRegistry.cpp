// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxRegistry.h"

#include "InstalledPrograms.h"
#include "RpmQuery.h"

#include <QCoreApplication>
#include <QHash>

#include <mutex>

#include <malloc.h>

using namespace Qt::StringLiterals;

// The programs, found by key name as the registry finds keys: without regard to case.
class InstalledProgramIndex
{
public:
    InstalledProgramIndex(QList<InstalledProgram> programs, QStringList notes)
        : m_programs(std::move(programs))
        , m_notes(std::move(notes))
    {
        m_keyNames.reserve(m_programs.size());
        for (qsizetype i = 0; i < m_programs.size(); ++i) {
            m_keyNames.append(m_programs.at(i).keyName);
            m_byKeyName.insert(m_programs.at(i).keyName.toCaseFolded(), i);
        }
    }

    const QStringList &keyNames() const { return m_keyNames; }
    const QStringList &notes() const { return m_notes; }

    const InstalledProgram *find(const QString &keyName) const
    {
        const auto it = m_byKeyName.constFind(keyName.toCaseFolded());
        return it == m_byKeyName.cend() ? nullptr : &m_programs.at(*it);
    }

private:
    QList<InstalledProgram> m_programs;
    QStringList m_notes;
    QStringList m_keyNames;
    QHash<QString, qsizetype> m_byKeyName;
};

namespace {

// Thousands of small strings freed at once leave whole pages free inside the
// heap; give them back instead of keeping them resident.
void giveFreedPagesBack()
{
    malloc_trim(0);
}

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

    std::optional<RegistryValueInfo> queryValue(const QString &name) override
    {
        const std::optional<QByteArray> data = readValue(name);
        if (!data)
            return std::nullopt;
        return RegistryValueInfo{RegistryValueType::Sz, quint32(data->size())};
    }

    // What the reading could not list, one line each; no value when it listed everything.
    std::optional<QByteArray> readValue(const QString &name) override
    {
        if (name.compare(RegistrySource::ReadingNotesValue, Qt::CaseInsensitive) != 0 || m_programs->notes().isEmpty())
            return std::nullopt;
        return m_programs->notes().join(u'\n').toUtf8() + '\0';
    }

private:
    std::shared_ptr<const InstalledProgramIndex> m_programs;
};

// One program's key: its texts stored with their NUL, NoRemove as a little-endian DWORD.
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
        const bool number = name.compare(RegistrySource::NoRemoveValue, Qt::CaseInsensitive) == 0;
        return RegistryValueInfo{number ? RegistryValueType::DWord : RegistryValueType::Sz, quint32(data->size())};
    }

    std::optional<QByteArray> readValue(const QString &name) override
    {
        if (name.compare(DisplayNameValue, Qt::CaseInsensitive) == 0)
            return stored(m_program.displayName);
        // A program that no command may remove has none, as on the system whose key this is.
        if (name.compare(UninstallStringValue, Qt::CaseInsensitive) == 0)
            return m_program.uninstallString.isEmpty() ? std::nullopt
                                                       : std::optional(stored(m_program.uninstallString));
        if (name.compare(RegistrySource::NoRemoveValue, Qt::CaseInsensitive) == 0)
            return m_program.systemRequired ? std::optional(QByteArray("\x01\0\0\0", 4)) : std::nullopt;
        if (name.compare(RegistrySource::InstallSourceValue, Qt::CaseInsensitive) == 0)
            return stored(m_program.source);
        if (name.compare(RegistrySource::DisplayVersionValue, Qt::CaseInsensitive) == 0 && !m_program.version.isEmpty())
            return stored(m_program.version);
        return std::nullopt;
    }

private:
    static QByteArray stored(const QString &text) { return text.toUtf8() + '\0'; }

    InstalledProgram m_program;
};

// The key named by path, from these programs; nullptr when there is none.
std::unique_ptr<RegistryKey> programKey(const QString &path, const InstalledProgramIndex &programs)
{
    const QString prefix = RegistrySource::UninstallKey + u'\\';
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return nullptr;
    const InstalledProgram *program = programs.find(path.mid(prefix.size()));
    if (!program)
        return nullptr;
    return std::make_unique<ProgramKey>(*program);
}

// The Uninstall key as one moment had it, read on another thread: the files
// are read there, rpm's programs come as rpm gave them.
class UninstallSnapshot final : public RegistrySource
{
public:
    UninstallSnapshot(QString root, QList<InstalledProgram> rpmPrograms, QStringList notes)
        : m_root(std::move(root))
        , m_rpmPrograms(std::move(rpmPrograms))
        , m_notes(std::move(notes))
    {
    }
    ~UninstallSnapshot() override
    {
        m_programs.reset();
        giveFreedPagesBack();
    }
    UninstallSnapshot(const UninstallSnapshot &) = delete;
    UninstallSnapshot &operator=(const UninstallSnapshot &) = delete;

    std::unique_ptr<RegistryKey> openKey(const QString &path) override
    {
        std::call_once(m_read, [this] {
            m_programs = std::make_shared<const InstalledProgramIndex>(InstalledPrograms(m_root).read() + m_rpmPrograms,
                                                                       m_notes);
        });
        if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0)
            return std::make_unique<UninstallRootKey>(m_programs);
        return programKey(path, *m_programs);
    }

private:
    QString m_root;
    QList<InstalledProgram> m_rpmPrograms;
    QStringList m_notes;
    std::once_flag m_read;
    std::shared_ptr<const InstalledProgramIndex> m_programs;
};

} // namespace

LinuxRegistry::LinuxRegistry(QString rootDirectory, QueryPatience patience)
    : m_root(std::move(rootDirectory))
    , m_patience(patience)
{
}

LinuxRegistry::~LinuxRegistry() = default;

std::unique_ptr<RegistryKey> LinuxRegistry::openKey(const QString &path)
{
    if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0)
        return std::make_unique<UninstallRootKey>(readPrograms());
    if (!path.startsWith(UninstallKey + u'\\', Qt::CaseInsensitive))
        return nullptr;
    std::shared_ptr<const InstalledProgramIndex> programs = m_programs.lock();
    if (!programs)
        programs = readPrograms();
    return programKey(path, *programs);
}

std::shared_ptr<RegistrySource> LinuxRegistry::snapshot()
{
    askRpmWhereItKeepsPackages(InstalledPrograms(m_root));
    QList<InstalledProgram> rpmPrograms;
    QStringList notes;
    if (m_rpm)
        rpmPrograms = rpmAnswer(notes); // shared, not copied
    return std::make_shared<UninstallSnapshot>(m_root, std::move(rpmPrograms), std::move(notes));
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
    QStringList notes;
    askRpmWhereItKeepsPackages(sources);
    if (m_rpm)
        found += rpmAnswer(notes);
    auto programs = std::make_shared<const InstalledProgramIndex>(std::move(found), std::move(notes));
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
            giveFreedPagesBack();
        },
        Qt::QueuedConnection);
    return programs;
}

void LinuxRegistry::askRpmWhereItKeepsPackages(const InstalledPrograms &sources)
{
    if (m_rpm || !sources.hasRpmDatabase())
        return;
    m_rpm = std::make_unique<RpmQuery>(m_root, [this] { rpmAnswered(); });
    m_rpm->start();
}

QList<InstalledProgram> LinuxRegistry::rpmAnswer(QStringList &notes) const
{
    const std::chrono::milliseconds wait = m_patience.everyAnswer ? m_patience.wait : std::chrono::milliseconds(0);
    const std::optional<RpmQuery::Answer> answer = m_rpm->answer(wait);
    if (!answer) {
        notes.append(m_rpm->finished() ? u"rpm: its list of packages could not be read"_s
                                       : u"rpm: no answer within %1 ms"_s.arg(wait.count()));
        return {};
    }
    if (answer->cut)
        notes.append(
            u"rpm: its list of packages was cut after %1 MB"_s.arg(RpmQuery::OutputLimit / (qsizetype(1024) * 1024)));
    return answer->programs;
}

void LinuxRegistry::rpmAnswered()
{
    m_programs.reset();
    m_keptPrograms.reset();
    for (const std::function<void()> &changed : std::as_const(m_uninstallKeyWatchers))
        changed();
}

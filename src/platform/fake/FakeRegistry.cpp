// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeRegistry.h"

#include "FakeMachine.h"

namespace {

class FakeUninstallRoot final : public RegistryKey
{
public:
    explicit FakeUninstallRoot(QStringList names)
        : m_names(std::move(names))
    {
    }

    QStringList subKeyNames() override { return m_names; }
    std::optional<RegistryValueInfo> queryValue(const QString &) override { return std::nullopt; }
    std::optional<QByteArray> readValue(const QString &) override { return std::nullopt; }

private:
    QStringList m_names;
};

class FakeProgramKey final : public RegistryKey
{
public:
    explicit FakeProgramKey(FakeUninstallKey key)
        : m_key(std::move(key))
    {
    }

    QStringList subKeyNames() override { return {}; }

    std::optional<RegistryValueInfo> queryValue(const QString &name) override
    {
        const auto it = m_key.values.constFind(name);
        if (it == m_key.values.cend())
            return std::nullopt;
        return RegistryValueInfo{it->type, quint32(it->data.size())};
    }

    std::optional<QByteArray> readValue(const QString &name) override
    {
        const auto it = m_key.values.constFind(name);
        if (it == m_key.values.cend() || it->readFails)
            return std::nullopt;
        return it->data;
    }

private:
    FakeUninstallKey m_key;
};

} // namespace

std::unique_ptr<RegistryKey> FakeRegistry::openKey(const QString &path)
{
    const FakeUninstall &uninstall = m_machine.uninstall;
    if (!uninstall.keyOpens)
        return nullptr;
    if (path.compare(UninstallKey, Qt::CaseInsensitive) == 0) {
        QStringList names;
        for (const FakeUninstallKey &key : uninstall.keys)
            names.append(key.name);
        return std::make_unique<FakeUninstallRoot>(names);
    }
    const QString prefix = UninstallKey + u'\\';
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return nullptr;
    const QString name = path.mid(prefix.size());
    for (const FakeUninstallKey &key : uninstall.keys)
        if (key.name.compare(name, Qt::CaseInsensitive) == 0)
            return key.opens ? std::make_unique<FakeProgramKey>(key) : nullptr;
    return nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

enum class RegistryValueType : quint32 {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    DWord = 4,
    MultiSz = 7,
    QWord = 11,
};

struct RegistryValueInfo
{
    RegistryValueType type = RegistryValueType::None;
    quint32 size = 0;
};

// An open read-only key; closed when destroyed.
// Text data is UTF-8 and ends in its terminating NUL, as the registry stores it.
class RegistryKey
{
public:
    virtual ~RegistryKey() = default;

    virtual QStringList subKeyNames() = 0;
    // nullopt: no such value.
    virtual std::optional<RegistryValueInfo> queryValue(const QString &name) = 0;
    // nullopt: reading the data failed.
    virtual std::optional<QByteArray> readValue(const QString &name) = 0;
};

// The local machine's hive, read only.
class RegistrySource
{
public:
    static constexpr QLatin1StringView UninstallKey{R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall)"};
    // A program's text value beside DisplayName and UninstallString: the package manager that installed it.
    static constexpr QLatin1StringView InstallSourceValue{"InstallSource"};
    // A program's version, as Windows keeps it beside DisplayName.
    static constexpr QLatin1StringView DisplayVersionValue{"DisplayVersion"};
    // A text value of the Uninstall key where a reading could not list every
    // program: what is missing and why, one line each ("rpm: no answer within 2000 ms").
    static constexpr QLatin1StringView ReadingNotesValue{"ReadingNotes"};
    // A program's DWORD value: 1 when it cannot be removed (the system needs it), as the system's
    // own list of programs reads it.
    static constexpr QLatin1StringView NoRemoveValue{"NoRemove"};

    virtual ~RegistrySource() = default;

    // nullptr when the key does not exist or cannot be opened.
    virtual std::unique_ptr<RegistryKey> openKey(const QString &path) = 0;
    // Calls changed on this thread each time the key's sub-keys change from
    // now on, as the registry reports a changed key. A hive whose keys never
    // change never calls it.
    virtual void notifyChangeKey(const QString & /*path*/, const std::function<void()> & /*changed*/) { }
    // The hive as it is now, for reading on another thread while this one goes
    // on (a list of many thousand programs); nullptr where it has no such copy.
    virtual std::shared_ptr<RegistrySource> snapshot() { return nullptr; }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CpuidSource.h"
#include "platform/MemorySource.h"
#include "platform/RegistrySource.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// A list of answers given one per query; the last one repeats, and an empty
// list answers the fallback.
template<typename T>
struct AnswerList
{
    QList<T> answers;
    qsizetype next = 0;

    T take(const T &fallback = T())
    {
        if (answers.isEmpty())
            return fallback;
        const T &answer = answers.at(qMin(next, answers.size() - 1));
        if (next < answers.size())
            ++next;
        return answer;
    }
};

struct FakeCpu
{
    bool available = true;
    std::map<quint32, CpuidRegisters> leaves;
};

// The texts a Linux machine gives about its processors, as the fixture's "processor" key holds them.
struct FakeProcessorTexts
{
    QString architecture = QStringLiteral("x86_64"); // uname's machine field
    QByteArray procCpuinfo;
    std::optional<QStringList> midr; // one per CPU as the sysfs files read; nothing: no such directory
    quint64 hwcap = 0;
    quint64 hwcap2 = 0;
    std::optional<QString> deviceTreeModel;
    QString dmiSysVendor;
    QString dmiProductName;
};

struct FakeDrive
{
    QChar letter;
    quint32 type = 3;
    QString label;
    quint32 serial = 0;
    QString fileSystem;
    quint64 totalBytes = 0;
    quint64 freeBytes = 0;
    std::optional<QString> remoteName;
    bool ready = true; // false: no medium, so entering it and measuring it fail
    bool volumeQueryFails = false;
    std::optional<QString> mountPoint; // nullopt: the drive's root
    QString device;
};

struct FakeServiceTable
{
    bool managerOpens = true;
    QStringList displayNames; // in the manager's order
    QStringList names; // each service's own name, by position; a missing one is its display name
};

struct FakeRegistryValue
{
    RegistryValueType type = RegistryValueType::Sz;
    QByteArray data; // as the registry stores it (texts UTF-8 with their NUL)
    bool readFails = false;
};

struct FakeUninstallKey
{
    QString name;
    bool opens = true;
    QMap<QString, FakeRegistryValue> values;
};

struct FakeUninstall
{
    bool keyOpens = true;
    QList<FakeUninstallKey> keys;
};

struct FakePrinter
{
    QString name;
    QString port;
    qint16 dmColor = 1;
    bool colorFlag = false;
    int dpiX = 600;
    int dpiY = 600;
    bool infoContext = true;
    int devmodeSize = 220;
};

struct FakePrinterTable
{
    QList<FakePrinter> list;
    std::optional<QString> defaultName;
};

struct FakeHost
{
    QByteArray name = "localhost";
    bool nameFails = false;
    bool resolves = true;
    QList<quint32> addresses; // IPv4, host byte order
};

// The system itself: its release file's text, uname's fields, the CPU counts, the session.
struct FakeSystem
{
    std::optional<QByteArray> osRelease; // nullopt: no release file at all
    std::optional<QString> kernelName;
    std::optional<QString> kernelRelease;
    std::optional<QString> machine;
    std::optional<int> onlineCpus;
    std::optional<int> cores;
    QString desktop;
    QString session;
};

// How long the answers of a domain take, in milliseconds; 0 answers at once.
struct FakeDelays
{
    int printers = 0;
    int drives = 0;
};

// The whole fake machine a fixture describes, plus what the program did to it.
struct FakeMachine
{
    FakeCpu cpu;
    FakeProcessorTexts processor;
    AnswerList<MemoryStatus> memory;
    QList<FakeDrive> drives;
    FakeServiceTable services;
    FakeUninstall uninstall;
    FakePrinterTable printers;
    FakeHost host;
    FakeSystem system;
    AnswerList<quint64> tickCount;
    AnswerList<bool> shellOpens;
    FakeDelays delays;

    // State the program changes.
    QString currentDirectory = QStringLiteral("C:\\");
    QMap<QChar, QString> driveDirectories; // last directory entered on each drive
    int networkStartups = 0;
    int networkCleanups = 0;
    QStringList shellOpened;

    const FakeDrive *drive(QChar letter) const
    {
        for (const FakeDrive &d : drives)
            if (d.letter == letter.toUpper())
                return &d;
        return nullptr;
    }
};

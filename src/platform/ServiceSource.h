// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <memory>

// A service by its own name (a unit name such as "cups.service") and the name people read.
struct ServiceEntry
{
    QString name;
    QString displayName;
};

// An open connection to the service manager; closed when destroyed.
class ServiceManager
{
public:
    virtual ~ServiceManager() = default;

    // Up to maxRecords display names of the services matching the filters,
    // starting at resumeHandle (0 for the first batch) and advancing it.
    // An empty answer means there are no more.
    virtual QStringList enumerateServices(quint32 serviceType, quint32 serviceState, quint32 &resumeHandle,
                                          int maxRecords) = 0;
    // The same enumeration, each service with its own name as well.
    virtual QList<ServiceEntry> enumerateServiceEntries(quint32 serviceType, quint32 serviceState,
                                                        quint32 &resumeHandle, int maxRecords) = 0;
};

class ServiceSource
{
public:
    static constexpr quint32 AllAccess = 0xF003F;
    static constexpr quint32 Win32Services = 0x30;
    static constexpr quint32 AllStates = 3;

    virtual ~ServiceSource() = default;

    // nullptr when the manager refuses to open.
    virtual std::unique_ptr<ServiceManager> openManager(quint32 access) = 0;
};

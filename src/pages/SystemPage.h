// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/TListView.h"
#include "platform/ServiceSource.h"

#include <QWidget>

#include <optional>

class QCollator;
class QListWidgetItem;
class RegistryKey;
class RegistrySource;
class ServiceSource;
class TListBox;

// Page 3: the installed services and the installed programs.
class SystemPage : public QWidget
{
    Q_OBJECT

public:
    // The service manager answers this many records at a time.
    static constexpr int ServiceBatchSize = 4097;

    SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent);

    // Appends every service's display name, in the manager's order.
    void fillServices();
    // Lists the installed programs, sorted by name; throws Failure when the fill must be retried.
    void fillSoftware();

    // The services listed, each with its own name (which the list does not show).
    QList<ServiceEntry> services() const;
    // The programs listed, in shown order, each with its removal command as its one sub-item.
    QList<TListView::Item> programs() const;

    // The same lists read straight from the sources, in the order the page shows them;
    // nullopt when the service manager refuses to open.
    static std::optional<QList<ServiceEntry>> readServices(ServiceSource &services);
    static QList<TListView::Item> readPrograms(RegistrySource &registry);

private:
    // Appends the display names of the matching services to target; false when the manager refuses to open.
    bool ListServices(quint32 serviceType, quint32 serviceState, TListBox &target);
    static std::optional<QList<ServiceEntry>> enumerate(ServiceSource &services, quint32 serviceType,
                                                        quint32 serviceState);
    void addInstalledPrograms();
    static QStringList uninstallKeyNames(RegistrySource &registry);
    // nullopt for a program the list leaves out.
    // source, when given, receives the package manager that installed it.
    static std::optional<TListView::Item> readProgram(RegistrySource &registry, const QString &keyName,
                                                      QString *source = nullptr);
    void sortSoftware();
    // Tooltips and descriptions for assistive tools: what each list holds but does not draw.
    static void describeService(QListWidgetItem *item, const QString &serviceName);
    static void describeProgram(QListWidgetItem *item, const QString &source, const QString &uninstallString);
    // Fills the list again after a completed fill, when the installed programs have changed.
    void refillSoftware();

    ServiceSource &m_services;
    RegistrySource &m_registry;
    TListBox *m_serviceList;
    TListView *m_softwareList;
    QStringList m_serviceNames; // by list line
    bool m_softwareFilled = false;
};

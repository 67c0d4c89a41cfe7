#pragma once

#include <QWidget>

class RegistryKey;
class RegistrySource;
class ServiceSource;
class TListBox;
class TListView;

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

private:
    // Appends the display names of the matching services to target; false when the manager refuses to open.
    bool ListServices(quint32 serviceType, quint32 serviceState, TListBox &target);
    void addInstalledPrograms();
    void addProgram(const QString &keyName);
    void sortSoftware();
    // Fills the list again after a completed fill, when the installed programs have changed.
    void refillSoftware();

    ServiceSource &m_services;
    RegistrySource &m_registry;
    TListBox *m_serviceList;
    TListView *m_softwareList;
    bool m_softwareFilled = false;
};

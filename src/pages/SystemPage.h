#pragma once

#include <QWidget>

class RegistrySource;
class ServiceSource;
class TListBox;
class TListView;

// Page 3: the installed services and the installed programs.
class SystemPage : public QWidget
{
    Q_OBJECT

public:
    SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent);

    // Appends every service's display name, in the manager's order.
    void fillServices();
    // Lists the installed programs, sorted by name; throws Failure when the fill must be retried.
    void fillSoftware();

private:
    ServiceSource &m_services;
    RegistrySource &m_registry;
    TListBox *m_serviceList;
    TListView *m_softwareList;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Wording.h"
#include "controls/lists/TListView.h"
#include "platform/ServiceSource.h"

#include <QWidget>

#include <memory>
#include <mutex>
#include <optional>

class QCollator;
class QListWidgetItem;
class RegistryKey;
class RegistrySource;
class ServiceSource;
class TListBox;

// One installed program: what the list shows, what it holds for the program, and where it came from.
struct ProgramEntry
{
    QString name;
    QString removeCommand;
    QString source; // "dpkg", "Flatpak", "Snap", "rpm"; empty when unknown
    QString version; // empty when unknown
    bool systemRequired = false; // the system cannot do without it: no command removes it
};

// Page 3: the installed services and the installed programs.
class SystemPage : public QWidget
{
    Q_OBJECT

public:
    // The service manager answers this many records at a time.
    static constexpr int ServiceBatchSize = 4097;

    // A refill shows this many programs per pass of the event loop.
    static constexpr qsizetype ProgramsPerPass = 2000;

    SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent);
    ~SystemPage() override;
    SystemPage(const SystemPage &) = delete;
    SystemPage &operator=(const SystemPage &) = delete;

    // Appends every service's display name, in the manager's order.
    void fillServices();
    // Lists the installed programs, sorted by name; throws Failure when the fill must be retried.
    // Where the registry gives a copy to read, they are read on another thread and the list fills
    // when they come.
    void fillSoftware();

    // The services listed, each with its own name (which the list does not show).
    QList<ServiceEntry> services() const;
    // The programs listed, in shown order.
    QList<ProgramEntry> programs() const;

    // The same lists read straight from the sources, in the order the page shows them;
    // nullopt when the service manager refuses to open.
    static std::optional<QList<ServiceEntry>> readServices(ServiceSource &services);
    // notes, when given, receives what the reading could not list and why (a package manager that did not answer).
    static QList<ProgramEntry> readPrograms(RegistrySource &registry, QStringList *notes = nullptr);
    // What stands for the removal command of a package the system cannot do without.
    static QString systemRequiredText(const Wording &words = Wording::shown());

private:
    // The programs of a fill read on another thread.
    using ProgramRows = std::shared_ptr<const QList<ProgramEntry>>;
    // Whether such a reading sorts them itself or leaves it to the list until it is seen.
    enum class ProgramOrder { Sorted, WhenSeen };
    // Where a refill's reading hands its programs over, while the page exists.
    struct Handover
    {
        std::mutex mutex;
        SystemPage *page = nullptr;
    };

    // Appends the display names of the matching services to target; false when the manager refuses to open.
    bool ListServices(quint32 serviceType, quint32 serviceState, TListBox &target);
    static std::optional<QList<ServiceEntry>> enumerate(ServiceSource &services, quint32 serviceType,
                                                        quint32 serviceState);
    void addInstalledPrograms();
    static QStringList uninstallKeyNames(RegistrySource &registry);
    // nullopt for a program the list leaves out.
    static std::optional<ProgramEntry> readProgram(RegistrySource &registry, const QString &keyName);
    static QList<ProgramEntry> readUnsorted(RegistrySource &registry, QStringList *notes);
    void sortSoftware();
    // Tooltips and descriptions for assistive tools: what each list holds but does not draw.
    static void describeService(QListWidgetItem *item, const QString &serviceName);
    // Fills the list again after the first fill, when the installed programs have changed.
    void refillSoftware();
    // Reads the programs from the registry's copy on another thread and shows them a part per
    // pass, so that even a flood of programs never holds up the window; false when the registry
    // gives no copy or no thread is to be had.
    bool readOnAnotherThread(ProgramOrder order);
    void showPrograms(const ProgramRows &rows, int refill, ProgramOrder order, qsizetype from);

    ServiceSource &m_services;
    RegistrySource &m_registry;
    TListBox *m_serviceList;
    TListView *m_softwareList;
    QStringList m_serviceNames; // by list line
    bool m_softwareFilled = false;
    int m_refills = 0; // the newest refill; an older one that is still showing gives way
    bool m_showingPrograms = false; // a refill is showing its programs: the list does not redraw meanwhile
    std::shared_ptr<Handover> m_handover = std::make_shared<Handover>();
};

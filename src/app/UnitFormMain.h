// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QWidget>

class AboutPage;
class DiskPage;
class FailureReport;
class MemoryPage;
class OtherPage;
class Platform;
class PrinterPage;
class ProcessorPage;
class SystemPage;
class TTabbedNotebook;
class TTimer;

// The main window: seven pages filled by seven timers.
class TFormMain : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize ClientSize{369, 377};
    static const QString ProgramTitle;
    static const QString Version;

    TFormMain(Platform &platform, const FailureReport &failureReport, QWidget *parent = nullptr);
    ~TFormMain() override;

    TTabbedNotebook *notebook() const { return TabbedNotebook1; }
    QList<TTimer *> timers() const;
    MemoryPage *memoryPage() const { return m_memoryPage; }
    // How often each change handler has run.
    const QMap<QString, int> &events() const { return m_events; }

    // Handlers, named after their component and event.
    void FormCreate();
    void FormShow();
    void TabbedNotebook1Change(int newIndex);
    void DriveComboBox1Change();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void Timer5Timer();
    void Timer6Timer();
    void Timer7Timer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createTimers();
    void onTick(TTimer *timer, void (TFormMain::*handler)());
    // Runs a handler whose failures are not swallowed, handing them to the failure report.
    void dispatch(void (TFormMain::*handler)());
    void setCaption(const QString &controlName, const QString &caption);
    void centerOnScreen();

    Platform &m_platform;
    const FailureReport &m_failureReport;
    TTabbedNotebook *TabbedNotebook1;
    ProcessorPage *m_processorPage;
    MemoryPage *m_memoryPage;
    DiskPage *m_diskPage;
    SystemPage *m_systemPage;
    PrinterPage *m_printerPage;
    OtherPage *m_otherPage;
    AboutPage *m_aboutPage;
    TTimer *Timer1 = nullptr;
    TTimer *Timer2 = nullptr;
    TTimer *Timer3 = nullptr;
    TTimer *Timer4 = nullptr;
    TTimer *Timer5 = nullptr;
    TTimer *Timer6 = nullptr;
    TTimer *Timer7 = nullptr;
    QMap<QString, int> m_events;
};

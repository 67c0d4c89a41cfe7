// SPDX-License-Identifier: GPL-3.0-or-later
#include "UnitFormMain.h"

#include "ControlRoles.h"
#include "FailureReport.h"
#include "FormCaptions.h"
#include "TTimer.h"
#include "WindowActions.h"
#include "controls/TGroupBox.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/lists/ProgramIcon.h"
#include "controls/text/FormFonts.h"
#include "controls/text/TLabel.h"
#include "controls/text/TUrlLabel.h"
#include "pages/AboutPage.h"
#include "pages/DiskPage.h"
#include "pages/MemoryPage.h"
#include "pages/OtherPage.h"
#include "pages/PrinterPage.h"
#include "pages/ProcessorPage.h"
#include "pages/SystemPage.h"
#include "pages/UPub_Version.h"
#include "platform/Failure.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>

#include <stdexcept>

using namespace Qt::StringLiterals;

const QString TFormMain::ProgramTitle = u"Pelzora"_s;
const QString TFormMain::Version = u"2.5"_s;

namespace {

// The guard of the periodic handlers: a failure ends the run silently.
template<typename Body>
void swallowFailures(Body &&body)
{
    try {
        body();
    } catch (...) {
    }
}

} // namespace

TFormMain::TFormMain(Platform &platform, const FailureReport &failureReport, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_platform(platform)
    , m_failureReport(failureReport)
{
    Q_INIT_RESOURCE(pelzora);
    // The hidden pages' labels take their sizes when first shown.
    const TLabel::DeferSizing later;
    setObjectName(u"FormMain"_s);
    setWindowTitle(ProgramTitle);
    // Small sizes only: decoding the large image costs more at start-up than it is worth in a title bar.
    setWindowIcon(ProgramIcon::icon({16, 32, 48}));
    setFont(FormFonts::windowFont());
    setFixedSize(ClientSize);

    TabbedNotebook1 = new TTabbedNotebook(u"TabbedNotebook1"_s, QRect(QPoint(0, 0), ClientSize), this);
    m_processorPage = new ProcessorPage(platform.cpuid(), platform.processor(), TabbedNotebook1);
    m_memoryPage = new MemoryPage(platform.memory(), TabbedNotebook1);
    m_diskPage = new DiskPage(platform.drives(), TabbedNotebook1);
    m_systemPage = new SystemPage(platform.services(), platform.registry(), TabbedNotebook1);
    m_printerPage = new PrinterPage(platform.printers(), TabbedNotebook1);
    m_otherPage = new OtherPage(platform.network(), platform.clock(), platform.system(), TabbedNotebook1);
    m_aboutPage = new AboutPage(platform.shell(), TabbedNotebook1);
    TabbedNotebook1->addPage(m_processorPage, u"CPU"_s);
    TabbedNotebook1->addPage(m_memoryPage, u"RAM"_s);
    TabbedNotebook1->addPage(m_diskPage, u"HDD"_s);
    TabbedNotebook1->addPage(m_systemPage, u"System"_s);
    TabbedNotebook1->addPage(m_printerPage, u"Printer"_s);
    TabbedNotebook1->addPage(m_otherPage, u"Other"_s);
    TabbedNotebook1->addPage(m_aboutPage, u"About"_s);

    connect(TabbedNotebook1, &TTabbedNotebook::pageChanging, this, &TFormMain::TabbedNotebook1Change);
    connect(m_diskPage->driveSelector(), &TDriveComboBox::changed, this, &TFormMain::DriveComboBox1Change);

    createTimers();
    FormCreate();
    // Beyond the form: facts that never change, written once.
    m_otherPage->writeSystemSummary();
    centerOnScreen();
    // Beyond the form: copying, the keys, and what the controls are to assistive tools.
    ControlRoles::apply(*this);
    new WindowActions(*this);
}

TFormMain::~TFormMain() = default;

void TFormMain::createTimers()
{
    Timer1 = new TTimer(u"Timer1"_s, 1, this);
    Timer2 = new TTimer(u"Timer2"_s, 1, this);
    Timer3 = new TTimer(u"Timer3"_s, 200, this);
    Timer4 = new TTimer(u"Timer4"_s, 1, this);
    Timer5 = new TTimer(u"Timer5"_s, 1000, this);
    Timer6 = new TTimer(u"Timer6"_s, 500, this);
    Timer7 = new TTimer(u"Timer7"_s, 1000, this);
    onTick(Timer1, &TFormMain::Timer1Timer);
    onTick(Timer2, &TFormMain::Timer2Timer);
    onTick(Timer3, &TFormMain::Timer3Timer);
    onTick(Timer4, &TFormMain::Timer4Timer);
    onTick(Timer5, &TFormMain::Timer5Timer);
    onTick(Timer6, &TFormMain::Timer6Timer);
    onTick(Timer7, &TFormMain::Timer7Timer);
}

void TFormMain::onTick(TTimer *timer, void (TFormMain::*handler)())
{
    connect(timer, &TTimer::timeout, this, [this, handler] { dispatch(handler); });
}

QList<TTimer *> TFormMain::timers() const
{
    return {Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7};
}

void TFormMain::dispatch(void (TFormMain::*handler)())
{
    try {
        (this->*handler)();
    } catch (const std::exception &failure) {
        m_failureReport.report(QString::fromStdString(failure.what()));
    }
}

void TFormMain::centerOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormMain::setCaption(const QString &controlName, const QString &caption)
{
    if (auto *label = findChild<TLabel *>(controlName))
        label->setCaption(caption);
    else if (auto *box = findChild<TGroupBox *>(controlName))
        box->setTitle(caption);
    else
        throw std::logic_error("no control named " + controlName.toStdString());
}

void TFormMain::FormCreate()
{
    setWindowTitle(ProgramTitle);
    for (const FormCaptions::Caption &caption : FormCaptions::all()) {
        if (caption.tab >= 0)
            TabbedNotebook1->setTabText(caption.tab, FormCaptions::text(caption));
        else
            setCaption(caption.control, FormCaptions::text(caption));
    }
    auto *homePage = findChild<TUrlLabel *>(u"UrlLabel1"_s);
    homePage->setCaption(AboutPage::HomePageAddress);
    homePage->setUrl(AboutPage::HomePageAddress);
    auto *version = findChild<TLabel *>(u"LabVer"_s);
    version->setCaption(ReplaceVersionPlaceholder(version->caption(), Version));
}

void TFormMain::showEvent(QShowEvent *event)
{
    // Restoring a minimised window is spontaneous; only the program's own show counts.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TFormMain::FormShow()
{
    m_memoryPage->setPenColors();
    m_diskPage->hideFileList();
}

void TFormMain::TabbedNotebook1Change(int)
{
    ++m_events[u"TabbedNotebook1Change"_s];
    m_memoryPage->restartGraph();
    TabbedNotebook1->repaint();
}

void TFormMain::DriveComboBox1Change()
{
    ++m_events[u"DriveComboBox1Change"_s];
    swallowFailures([this] { m_diskPage->driveChanged(); });
}

void TFormMain::Timer1Timer()
{
    // Off also after a failure, so a failing report is reported once, not at every tick.
    const auto switchOff = qScopeGuard([this] { Timer1->setEnabled(false); });
    m_processorPage->drawReport();
}

void TFormMain::Timer2Timer()
{
    swallowFailures([this] { m_memoryPage->refreshFigures(); });
}

void TFormMain::Timer3Timer()
{
    swallowFailures([this] { m_memoryPage->extendGraph(); });
}

void TFormMain::Timer4Timer()
{
    const auto switchOff = qScopeGuard([this] { Timer4->setEnabled(false); });
    m_systemPage->fillServices();
}

void TFormMain::Timer5Timer()
{
    swallowFailures([this] {
        m_diskPage->writeVolumeLabelSerial();
        m_diskPage->writeFileSystemName();
        m_otherPage->writeAddress();
        m_otherPage->writeHostName();
        m_diskPage->writeTotalSize();
        m_diskPage->writeFreeSize();
        m_otherPage->writeUptime();
    });
}

void TFormMain::Timer6Timer()
{
    swallowFailures([this] {
        m_systemPage->fillSoftware();
        Timer6->setEnabled(false);
    });
}

void TFormMain::Timer7Timer()
{
    swallowFailures([this] { m_printerPage->refresh(); });
}

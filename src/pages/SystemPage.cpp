#include "SystemPage.h"

#include "controls/FormFonts.h"
#include "controls/TGroupBox.h"
#include "controls/TListBox.h"
#include "controls/TListView.h"
#include "platform/RegistrySource.h"
#include "platform/ServiceSource.h"

#include <QCollator>
#include <QFontInfo>
#include <QLocale>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString DisplayNameValue = u"DisplayName"_s;
const QString ListFontFamily = u"MS Sans Serif"_s;
const QString UninstallStringValue = u"UninstallString"_s;

// A value as text: the stored text up to its first NUL. A value that is
// missing, empty, not text or unreadable counts as empty, so one odd entry
// leaves only its own program out instead of ending the fill.
QString readText(RegistryKey &key, const QString &valueName)
{
    const std::optional<RegistryValueInfo> info = key.queryValue(valueName);
    if (!info || info->size == 0)
        return {};
    if (info->type != RegistryValueType::Sz && info->type != RegistryValueType::ExpandSz)
        return {};
    const std::optional<QByteArray> data = key.readValue(valueName);
    if (!data)
        return {};
    const qsizetype end = data->indexOf('\0');
    return QString::fromUtf8(end < 0 ? *data : data->first(end));
}

// Captions sort by the user's language, case distinguished. The C locale has
// no collation of its own (it compares code points), so the neutral Unicode
// order stands in for it.
QCollator captionCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

} // namespace

SystemPage::SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_registry(registry)
{
    auto *servicesBox = new TGroupBox(u"GroupBox4"_s, QRect(3, 16, 345, 153), u"Installed Services"_s, this);
    m_serviceList = new TListBox(u"ListBox1"_s, QRect(16, 24, 313, 113), servicesBox);
    auto *softwareBox = new TGroupBox(u"GroupBox6"_s, QRect(3, 184, 342, 161), u"Installed Softwares"_s, this);
    m_softwareList = new TListView(u"ListView1"_s, QRect(16, 24, 313, 129), softwareBox);
    // That face is rarely installed outside Windows, which itself maps it to its
    // dialog font: here it maps to the face the window's own font finds, where
    // a fallback of the font library would give the list another face.
    QFont::insertSubstitution(ListFontFamily, QFontInfo(FormFonts::windowFont()).family());
    QFont listFont(ListFontFamily);
    listFont.setPixelSize(11);
    listFont.setStyleHint(QFont::SansSerif);
    m_softwareList->setFont(listFont);
}

void SystemPage::fillServices()
{
    ListServices(ServiceSource::Win32Services, ServiceSource::AllStates, *m_serviceList);
}

bool SystemPage::ListServices(quint32 serviceType, quint32 serviceState, TListBox &target)
{
    const std::unique_ptr<ServiceManager> manager = m_services.openManager(ServiceSource::AllAccess);
    if (!manager)
        return false;
    quint32 resumeHandle = 0;
    for (;;) {
        const QStringList batch = manager->enumerateServices(serviceType, serviceState, resumeHandle, ServiceBatchSize);
        if (batch.isEmpty())
            return true;
        for (const QString &displayName : batch)
            target.appendLine(displayName);
    }
}

void SystemPage::fillSoftware()
{
    m_softwareList->beginUpdate();
    const auto redrawOnce = qScopeGuard([this] { m_softwareList->endUpdate(); });
    m_softwareList->clear();
    try {
        addInstalledPrograms();
    } catch (...) {
        sortSoftware();
        throw;
    }
    sortSoftware();
}

void SystemPage::addInstalledPrograms()
{
    QStringList keyNames;
    {
        const std::unique_ptr<RegistryKey> uninstall = m_registry.openKey(RegistrySource::UninstallKey);
        if (!uninstall)
            return;
        keyNames = uninstall->subKeyNames();
    }
    for (const QString &keyName : std::as_const(keyNames))
        addProgram(keyName);
}

void SystemPage::addProgram(const QString &keyName)
{
    const std::unique_ptr<RegistryKey> key = m_registry.openKey(u"%1\\%2"_s.arg(RegistrySource::UninstallKey, keyName));
    if (!key)
        return;
    const QString displayName = readText(*key, DisplayNameValue);
    const QString uninstallString = readText(*key, UninstallStringValue);
    if (!displayName.isEmpty())
        m_softwareList->addItem(displayName, {uninstallString});
}

void SystemPage::sortSoftware()
{
    m_softwareList->sortByCaption(captionCollator());
}

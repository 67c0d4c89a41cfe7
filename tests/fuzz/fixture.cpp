// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ClockSource.h"
#include "platform/CpuidSource.h"
#include "platform/DriveSource.h"
#include "platform/MemorySource.h"
#include "platform/NetworkSource.h"
#include "platform/PrinterSource.h"
#include "platform/ProcessorSource.h"
#include "platform/RegistrySource.h"
#include "platform/ServiceSource.h"
#include "platform/ShellSource.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

void askDrives(DriveSource &drives)
{
    drives.logicalDrives();
    drives.currentDirectory();
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        const QString root = QString(QChar(letter)) + u":\\"_s;
        drives.driveType(root);
        drives.volumeInformation(root);
        drives.remoteName(root.first(2));
        drives.setCurrentDirectory(root.first(2));
        drives.totalBytes(root);
        drives.freeBytesForCaller(root);
    }
}

void askRegistry(RegistrySource &registry)
{
    const std::unique_ptr<RegistryKey> uninstall = registry.openKey(RegistrySource::UninstallKey);
    if (!uninstall)
        return;
    for (const QString &name : uninstall->subKeyNames())
        if (const std::unique_ptr<RegistryKey> program = registry.openKey(RegistrySource::UninstallKey + u'\\' + name))
            for (const QString &value : {u"DisplayName"_s, u"UninstallString"_s}) {
                program->queryValue(value);
                program->readValue(value);
            }
}

void askPrinters(PrinterSource &printers)
{
    printers.beginRound();
    printers.defaultPrinterName();
    for (const QString &name : printers.printerNames().value_or(QStringList())) {
        printers.documentPropertiesSize(name);
        const std::optional<DeviceMode> mode = printers.documentProperties(name);
        if (const std::unique_ptr<PrinterHandle> handle = printers.openPrinter(name))
            handle->documentProperties();
        if (const auto context = printers.createInformationContext(QString(), name, QString(), mode ? &*mode : nullptr))
            context->deviceCaps(InformationContext::LogPixelsX);
    }
}

// What the pages ask of the machine, once each.
void askEverything(FakePlatform &platform)
{
    platform.cpuid().hasCpuid();
    platform.cpuid().cpuid(0);
    platform.processor().identity();
    platform.memory().globalMemoryStatus();
    platform.memory().globalMemoryStatus();
    askDrives(platform.drives());
    if (const std::unique_ptr<ServiceManager> manager = platform.services().openManager(ServiceSource::AllAccess)) {
        quint32 resume = 0;
        while (
            !manager->enumerateServices(ServiceSource::Win32Services, ServiceSource::AllStates, resume, 16).isEmpty())
            ;
    }
    askRegistry(platform.registry());
    askPrinters(platform.printers());
    if (const std::optional<QByteArray> host = platform.network().hostName())
        platform.network().hostAddresses(*host);
    platform.clock().tickCount();
    platform.shell().open(u"https://pelzora.org"_s);
}

} // namespace

// A fixture file, read as the snapshot tool reads --fixture, then applied again as a
// fixture step does, and the fake machine it describes asked what the pages ask.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        FakePlatform platform(FixtureLoader::load(json, u"fuzz.json"_s));
        // Slow answers would only leave sleeping workers behind: what is fuzzed here is what is answered.
        platform.machine().delays = {};
        askEverything(platform);
        FixtureLoader(u"fixture step"_s).apply(QJsonDocument::fromJson(json).object(), platform.machine());
        platform.machine().delays = {};
        askEverything(platform);
    } catch (const FixtureError &) {
        // Named in a one-line message by the snapshot tool.
    }
    return 0;
}

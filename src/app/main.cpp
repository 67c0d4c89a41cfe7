// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/FailureReport.h"
#include "app/FirstPaintProbe.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Decided before the application object exists: printing needs no display.
    const CommandLine commandLine(CommandLine::arguments(argc, argv));
    if (commandLine.action() != CommandLine::Action::OpenWindow)
        return commandLine.run(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelzora"));
    QApplication::setApplicationVersion(TFormMain::Version);
    QApplication::setDesktopFileName(QStringLiteral("org.pelzora.Pelzora"));

    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    if (qEnvironmentVariableIsSet(FirstPaintProbe::EnvironmentVariable))
        new FirstPaintProbe(&window);
    window.show();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/FailureReport.h"
#include "app/FirstPaintProbe.h"
#include "app/UiLanguage.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

namespace {

QtMessageHandler qtHandler = nullptr;

// A display named but not there ends as one without any: one line, no abort.
void endWithoutPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        std::fprintf(stderr, "pelzora: %s\n", qPrintable(CommandLine::NoDisplayMessage));
        ::_exit(CommandLine::NoDisplayError);
    }
    qtHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // Decided before the application object exists: printing needs no display.
    const CommandLine commandLine(CommandLine::arguments(argc, argv));
    if (commandLine.action() != CommandLine::Action::OpenWindow)
        return commandLine.run(argc, argv);

    LinuxPlatform::startHelpers();
    qtHandler = qInstallMessageHandler(endWithoutPlatform);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelzora"));
    QApplication::setApplicationVersion(TFormMain::Version);
    QApplication::setDesktopFileName(QStringLiteral("org.pelzora.Pelzora"));
    UiLanguage::install(commandLine.chosenLanguage());

    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    if (qEnvironmentVariableIsSet(FirstPaintProbe::EnvironmentVariable))
        new FirstPaintProbe(&window);
    window.show();
    return QApplication::exec();
}

#include "app/FailureReport.h"
#include "app/FirstPaintProbe.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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

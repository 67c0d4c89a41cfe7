#include "LinuxShell.h"

#include <QDesktopServices>
#include <QUrl>

bool LinuxShell::open(const QString &target)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

bool LinuxShell::open(const QString &target)
{
    // An address with a scheme (https:, mailto:) opens as it is; anything else is a document path.
    const QString trimmed = target.trimmed();
    const QUrl url(trimmed, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    return QDesktopServices::openUrl(QUrl::fromUserInput(trimmed, QDir::currentPath(), QUrl::AssumeLocalFile));
}

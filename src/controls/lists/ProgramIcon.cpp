// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramIcon.h"

#include <QImageReader>
#include <QPixmap>

QImage ProgramIcon::image(int size)
{
    QImageReader reader(QStringLiteral(":/icons/pelzora-%1.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon ProgramIcon::icon(const QList<int> &sizes)
{
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(QPixmap::fromImage(image(size)));
    return icon;
}

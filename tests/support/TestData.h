// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>

// The bytes of a file under tests/data (or at an absolute path); a test cannot go on without them.
inline QByteArray testData(const QString &path)
{
    QFile file(QDir(QStringLiteral(PELZORA_TEST_DATA)).filePath(path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

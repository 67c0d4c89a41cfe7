// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Keeps a JSON report a test made, for the schema check that runs after the tests.
inline void keepReport(const QByteArray &json, const QString &name)
{
    QDir().mkpath(QStringLiteral(PELZORA_REPORT_DIR));
    QFile file(QStringLiteral(PELZORA_REPORT_DIR "/%1.json").arg(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size())
        qFatal("cannot keep the report %s", qPrintable(file.fileName()));
}

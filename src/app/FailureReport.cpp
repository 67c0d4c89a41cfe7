// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureReport.h"

#include <QApplication>
#include <QMessageBox>

FailureReport::FailureReport()
    : m_sink([](const QString &message) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Pelzora"), message);
    })
{
}

FailureReport::FailureReport(Sink sink)
    : m_sink(std::move(sink))
{
}

void FailureReport::report(const QString &message) const
{
    m_sink(message);
}

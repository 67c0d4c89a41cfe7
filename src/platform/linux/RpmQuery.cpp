// SPDX-License-Identifier: GPL-3.0-or-later
#include "RpmQuery.h"

#include "InstalledPrograms.h"

#include <QProcess>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Past this, rpm is taken to hang (a database lock held elsewhere) and is stopped.
constexpr int RpmGiveUpMs = 60'000;

} // namespace

RpmQuery::RpmQuery(QString rootDirectory, std::function<void()> answered)
    : m_root(std::move(rootDirectory))
    , m_answered(std::move(answered))
{
}

RpmQuery::~RpmQuery()
{
    // Nothing waits for the answer any more; a killed rpm is reaped at once.
    if (m_rpm) {
        m_rpm->disconnect(this);
        m_rpm->kill();
    }
}

void RpmQuery::start()
{
    if (m_rpm)
        return;
    m_rpm = new QProcess(this);
    m_rpm->setStandardInputFile(QProcess::nullDevice());
    m_rpm->setStandardErrorFile(QProcess::nullDevice());
    connect(m_rpm, &QProcess::finished, this, &RpmQuery::finished);
    QTimer::singleShot(RpmGiveUpMs, m_rpm, [rpm = m_rpm] { rpm->kill(); });
    m_rpm->start(u"rpm"_s, {u"--root"_s, m_root, u"-qa"_s, u"--queryformat"_s, u"%{NAME}\\n"_s});
}

void RpmQuery::finished()
{
    if (m_rpm->exitStatus() != QProcess::NormalExit || m_rpm->exitCode() != 0)
        return;
    m_packageNames = InstalledPrograms::rpmPackageNames(m_rpm->readAllStandardOutput());
    if (!m_packageNames.isEmpty() && m_answered)
        m_answered();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QProcess;

// The names of the packages rpm has installed, asked of the rpm command once,
// without waiting for it: rpm can take seconds on a cold or locked database.
// Its answer comes through the event loop of the thread that started it.
class RpmQuery : public QObject
{
    Q_OBJECT

public:
    // answered runs once, when rpm has listed its packages; never when it fails or takes too long.
    RpmQuery(QString rootDirectory, std::function<void()> answered);
    ~RpmQuery() override;
    RpmQuery(const RpmQuery &) = delete;
    RpmQuery &operator=(const RpmQuery &) = delete;

    // Starts rpm, the first time only.
    void start();
    // The names rpm gave; none until it has answered.
    const QStringList &packageNames() const { return m_packageNames; }

private:
    void finished();

    QString m_root;
    std::function<void()> m_answered;
    QProcess *m_rpm = nullptr;
    QStringList m_packageNames;
};

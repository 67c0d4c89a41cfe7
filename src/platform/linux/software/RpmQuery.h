// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstalledPrograms.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The packages rpm has installed, with their versions, asked of the rpm command once,
// on a thread of its own: rpm can take seconds on a cold or locked database.
// Its output is read up to OutputLimit and made into the programs there too;
// the finished list is handed over to the thread that started it.
class RpmQuery : public QObject
{
    Q_OBJECT

public:
    // More than any machine's package names; a flood past it is cut.
    static constexpr qsizetype OutputLimit = qsizetype(4) * 1024 * 1024;
    // Past this, rpm is taken to hang (a database lock held elsewhere) and is ended, with its process group.
    static constexpr std::chrono::milliseconds GiveUp{60'000};

    struct Answer
    {
        QList<InstalledProgram> programs;
        bool cut = false; // rpm wrote more than OutputLimit: the programs past it are missing
    };

    // answered runs on this object's thread once rpm has listed its packages
    // (never when it fails or takes too long), when that thread runs an event loop.
    RpmQuery(QString rootDirectory, std::function<void()> answered, std::chrono::milliseconds giveUp = GiveUp);
    // Ends a running rpm and whatever it started; waits for nothing.
    ~RpmQuery() override;
    RpmQuery(const RpmQuery &) = delete;
    RpmQuery &operator=(const RpmQuery &) = delete;

    // Starts rpm, the first time only.
    void start();
    // rpm's answer, waiting up to patience for it; nullopt while rpm has not
    // answered, and when it failed or was given up.
    std::optional<Answer> answer(std::chrono::milliseconds patience = {}) const;
    // Whether rpm has ended, answering or not.
    bool finished() const;

private:
    struct State;

    // On the query's own thread.
    static void listPackages(const std::shared_ptr<State> &state, const QString &root,
                             std::chrono::milliseconds giveUp);

    QString m_root;
    std::function<void()> m_answered;
    std::chrono::milliseconds m_giveUp;
    std::shared_ptr<State> m_state;
};

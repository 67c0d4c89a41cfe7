// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportFact.h"
#include "platform/Failure.h"

#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <variant>

// A question to one source of the machine, asked on a thread of its own as soon
// as it is made, so that a source that hangs holds up only its own part of the
// report. A thread still waiting at the deadline is left behind: what it asks
// must outlive the process's work.
template<typename Result>
class BoundedQuery
{
public:
    using Clock = std::chrono::steady_clock;

    explicit BoundedQuery(std::function<Result()> ask)
    {
        std::packaged_task<Timed()> task([ask = std::move(ask)] {
            Result result = ask();
            return Timed{std::move(result), Clock::now()};
        });
        m_answer = task.get_future();
        try {
            std::thread(std::move(task)).detach();
        } catch (const std::system_error &) {
            m_noThread = true;
        }
    }

    // The answer, or why there is none. An answer that came at or after the
    // deadline is none: the source took its whole time and more.
    std::variant<Result, ReportGap> answer(Clock::time_point deadline, std::chrono::milliseconds timeLimit)
    {
        if (m_noThread || m_answer.wait_until(deadline) != std::future_status::ready)
            return ReportGap::noAnswer(timeLimit);
        try {
            Timed timed = m_answer.get();
            if (timed.at >= deadline)
                return ReportGap::noAnswer(timeLimit);
            return std::move(timed.result);
        } catch (const Failure &failure) {
            return ReportGap::fromFailure(failure.message());
        } catch (const std::exception &) {
            return ReportGap{ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "读取失败")};
        }
    }

private:
    struct Timed
    {
        Result result;
        Clock::time_point at;
    };

    std::future<Timed> m_answer;
    bool m_noThread = false;
};

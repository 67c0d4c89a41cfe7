// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

// A question to something outside the process that may block for as long as
// the kernel waits (a print server, a mounted file system, the name resolver),
// asked on a worker thread so that the user interface never waits for it.
//
// One query runs at a time. ask() starts one unless one is still running and
// gives the newest finished answer; a query still out after the time limit
// counts as failed (no answer) until it answers. The worker is never joined:
// one that is blocked in the kernel when its owner goes away is left behind
// and ends when the kernel lets it. So a query must own everything it touches
// (copies, or shared pointers), never its owner. An idle worker ends after a
// while; the next query starts another.
template<typename T>
class BackgroundQuery
{
public:
    using Clock = std::chrono::steady_clock;
    using Query = std::function<T()>;
    static constexpr std::chrono::milliseconds DefaultTimeLimit{2000};
    // How long the window may wait for a source that usually answers at once:
    // short enough that it never feels the wait, long enough for a healthy one.
    static constexpr std::chrono::milliseconds WindowPatience{20};

    explicit BackgroundQuery(std::chrono::milliseconds timeLimit = DefaultTimeLimit)
        : m_timeLimit(timeLimit)
        , m_state(std::make_shared<State>())
    {
    }

    ~BackgroundQuery()
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->ending = true;
        m_state->job = nullptr;
        m_state->wake.notify_all();
    }

    BackgroundQuery(const BackgroundQuery &) = delete;
    BackgroundQuery &operator=(const BackgroundQuery &) = delete;

    // Starts query unless one is still running or the newest answer was asked
    // for less than freshFor ago, then waits until the running query finishes
    // or has been out for patience, whichever comes first: a source that
    // answers at once answers in the same call, one that hangs holds up only
    // the call that started it, and one that took longer than patience last
    // time is not waited for at all. Returns the newest answer, as answer().
    std::shared_ptr<const T> ask(Query query, std::chrono::milliseconds patience = {},
                                 std::chrono::milliseconds freshFor = {})
    {
        std::unique_lock lock(m_state->mutex);
        const bool fresh = m_state->answer && Clock::now() - m_state->answerAskedAt < freshFor;
        if (!m_state->running && !fresh)
            start(std::move(query));
        if (m_state->lastDuration <= patience) {
            const auto giveUp = m_state->startedAt + patience;
            m_state->finished.wait_until(lock, giveUp, [this] { return !m_state->running; });
        }
        return newest();
    }

    // The newest finished answer; nullptr when none has finished yet, or when
    // the running query has been out for longer than the time limit.
    std::shared_ptr<const T> answer() const
    {
        const std::lock_guard lock(m_state->mutex);
        return newest();
    }

    // When the newest finished answer was asked for; nullopt before the first.
    std::optional<Clock::time_point> answerAskedAt() const
    {
        const std::lock_guard lock(m_state->mutex);
        if (!m_state->answer)
            return std::nullopt;
        return m_state->answerAskedAt;
    }

    bool running() const
    {
        const std::lock_guard lock(m_state->mutex);
        return m_state->running;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake; // a job for the worker, or its owner has gone
        std::condition_variable finished; // a query has answered
        Query job;
        bool running = false;
        bool workerAlive = false;
        bool ending = false;
        Clock::time_point startedAt;
        std::shared_ptr<const T> answer;
        Clock::time_point answerAskedAt;
        Clock::duration lastDuration{}; // of the query that finished last
    };

    // An idle worker ends after this long.
    static constexpr std::chrono::seconds IdleLimit{5};

    // With the state's mutex held.
    void start(Query query)
    {
        m_state->job = std::move(query);
        m_state->running = true;
        m_state->startedAt = Clock::now();
        if (!m_state->workerAlive) {
            try {
                std::thread(work, m_state).detach();
            } catch (const std::system_error &) {
                // No thread to be had: no query either, and no answer until one can start.
                m_state->job = nullptr;
                m_state->running = false;
                return;
            }
            m_state->workerAlive = true;
        }
        m_state->wake.notify_one();
    }

    // With the state's mutex held.
    std::shared_ptr<const T> newest() const
    {
        if (m_state->running && Clock::now() - m_state->startedAt > m_timeLimit)
            return nullptr;
        return m_state->answer;
    }

    static void work(std::shared_ptr<State> state)
    {
        std::unique_lock lock(state->mutex);
        for (;;) {
            const bool woken = state->wake.wait_for(lock, IdleLimit, [&] { return state->job || state->ending; });
            if (!woken || state->ending) {
                state->workerAlive = false;
                return;
            }
            Query job = std::move(state->job);
            state->job = nullptr;
            const Clock::time_point askedAt = state->startedAt;
            lock.unlock();
            std::shared_ptr<const T> answer = run(job);
            job = nullptr; // what it owns goes here, outside the lock
            lock.lock();
            state->lastDuration = Clock::now() - askedAt;
            if (answer) {
                state->answer = std::move(answer);
                state->answerAskedAt = askedAt;
            }
            state->running = false;
            state->finished.notify_all();
        }
    }

    // A query that throws leaves the previous answer standing.
    static std::shared_ptr<const T> run(const Query &job)
    {
        try {
            return std::make_shared<const T>(job());
        } catch (...) {
            return nullptr;
        }
    }

    std::chrono::milliseconds m_timeLimit;
    std::shared_ptr<State> m_state;
};

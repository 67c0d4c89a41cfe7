// SPDX-License-Identifier: GPL-3.0-or-later
#include "RpmQuery.h"

#include "platform/linux/ChildOutput.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

using namespace Qt::StringLiterals;

struct RpmQuery::State
{
    std::mutex mutex;
    std::condition_variable ended;
    bool started = false;
    bool finished = false;
    std::optional<Answer> answer;
    pid_t group = 0; // rpm's, while it runs
    RpmQuery *owner = nullptr; // told of the answer while it exists
};

RpmQuery::RpmQuery(QString rootDirectory, std::function<void()> answered, std::chrono::milliseconds giveUp)
    : m_root(std::move(rootDirectory))
    , m_answered(std::move(answered))
    , m_giveUp(giveUp)
    , m_state(std::make_shared<State>())
{
    m_state->owner = this;
}

RpmQuery::~RpmQuery()
{
    // Nothing waits for the answer any more.
    const std::lock_guard lock(m_state->mutex);
    m_state->owner = nullptr;
    ChildOutput::killGroup(m_state->group);
}

void RpmQuery::start()
{
    const std::lock_guard lock(m_state->mutex);
    if (m_state->started)
        return;
    m_state->started = true;
    try {
        std::thread(listPackages, m_state, m_root, m_giveUp).detach();
    } catch (const std::system_error &) {
        m_state->finished = true; // no thread, no rpm: its programs stay unlisted
    }
}

void RpmQuery::listPackages(const std::shared_ptr<State> &state, const QString &root, std::chrono::milliseconds giveUp)
{
    ChildOutput rpm(
        u"rpm"_s,
        {u"--root"_s, root, u"-qa"_s, u"--queryformat"_s, QString::fromLatin1(InstalledPrograms::RpmQueryFormat)},
        OutputLimit, giveUp, [&state](pid_t group) {
            const std::lock_guard lock(state->mutex);
            state->group = group;
            if (group > 0 && !state->owner)
                ChildOutput::killGroup(group); // its owner went while it started
        });
    rpm.run();
    std::optional<Answer> answer;
    if (rpm.succeeded()) {
        QByteArray output = rpm.bytes();
        if (rpm.cut())
            output.truncate(output.lastIndexOf('\n') + 1); // a name cut in two is none
        answer = Answer{InstalledPrograms::rpmPrograms(InstalledPrograms::rpmPackages(output)), rpm.cut()};
    }
    const std::lock_guard lock(state->mutex);
    state->finished = true;
    state->answer = std::move(answer);
    state->ended.notify_all();
    if (state->owner && state->answer && !state->answer->programs.isEmpty())
        QMetaObject::invokeMethod(
            state->owner, [owner = state->owner] { owner->m_answered(); }, Qt::QueuedConnection);
}

std::optional<RpmQuery::Answer> RpmQuery::answer(std::chrono::milliseconds patience) const
{
    std::unique_lock lock(m_state->mutex);
    m_state->ended.wait_for(lock, patience, [this] { return m_state->finished; });
    return m_state->answer;
}

bool RpmQuery::finished() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->finished;
}

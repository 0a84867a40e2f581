#pragma once

#include "platform/Clock.h"
#include "platform/CommandRunner.h"

#include <functional>
#include <string>
#include <vector>

namespace ballotine::test {

// Records the command lines it is given and answers with a scripted exit status; an optional
// action stands in for what the command would do.
class FakeCommandRunner final : public CommandRunner {
public:
    struct Call {
        std::string commandLine;
        std::filesystem::path workingFolder;
    };

    int Run(const std::string& commandLine, const std::filesystem::path& workingFolder) override;

    void SetExitStatus(int status) { m_status = status; }
    void SetAction(std::function<int(const Call&)> action) { m_action = std::move(action); }
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    int m_status = 0;
    std::function<int(const Call&)> m_action;
    std::vector<Call> m_calls;
};

// A clock the test moves by hand.
class ManualClock final : public Clock {
public:
    std::uint64_t TickMs() const override { return m_now; }
    void Advance(std::uint64_t ms) { m_now += ms; }

private:
    std::uint64_t m_now = 1000;
};

} // namespace ballotine::test

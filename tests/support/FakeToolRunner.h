#pragma once

#include "platform/ToolRunner.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ballotine::test {

// Records the tools it is asked to run and answers with a scripted exit status; an optional
// action stands in for what the tool would do, or a real runner runs it.
class FakeToolRunner final : public ToolRunner {
public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
        std::filesystem::path workingFolder;
        bool detached = false; // started without waiting (the viewer)

        // "program argument argument ...", for comparing at a glance.
        std::string Line() const;
    };

    ToolRun RunTool(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingFolder) override;
    bool StartDetached(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments) override;

    // Every later run ends with `status` (0: success) after writing `output`.
    void SetExitStatus(int status, std::string output = {}) {
        m_status = status;
        m_output = std::move(output);
    }
    // Every later run does `action` and ends with the status it returns.
    void SetAction(std::function<int(const Call&)> action) { m_action = std::move(action); }
    // Every later run is run by `runner` (detached starts are only recorded).
    void RunWith(ToolRunner& runner) { m_real = &runner; }
    // Whether later detached starts succeed (they do unless told), as without a viewer.
    void SetDetachedStarts(bool starts) { m_detachedStarts = starts; }

    // Runs and detached starts, in order.
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    int m_status = 0;
    std::string m_output;
    std::function<int(const Call&)> m_action;
    ToolRunner* m_real = nullptr;
    bool m_detachedStarts = true;
    std::vector<Call> m_calls;
};

} // namespace ballotine::test

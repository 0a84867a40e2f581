#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// How a tool's run ended.
enum class ToolOutcome {
    Succeeded,   // exit status 0
    Failed,      // another exit status
    Killed,      // ended by a signal
    DidNotStart, // not found, not executable, or its working folder could not be entered
};

struct ToolRun {
    std::string program; // as it was asked for, e.g. "pkzip25"
    ToolOutcome outcome = ToolOutcome::DidNotStart;
    // The exit status (Failed), the signal (Killed) or the system's error number (DidNotStart).
    int code = 0;
    // What the tool wrote on its output and error streams (their end, when that is long).
    std::string output;

    bool Succeeded() const { return outcome == ToolOutcome::Succeeded; }
    // Why the run failed, for the user: the last lines the tool wrote, else how it ended.
    // Empty after a success.
    std::string FailureReason() const;
};

// `message` with the reason of a failed run on the lines beneath it; `message` alone after a
// success.
std::string WithFailureReason(std::string_view message, const ToolRun& run);

// Runs the programs the core needs (the entity tool, the zip tool, the desktop's viewer). Each
// argument reaches the program exactly as given: no command interpreter, no quoting, so a file
// name can never run a command.
class ToolRunner {
public:
    virtual ~ToolRunner() = default;
    // Runs `program` with `arguments` in `workingFolder` (empty: the program's own; ours never
    // changes), waits for it and returns how it ended, with what it said.
    virtual ToolRun RunTool(const std::filesystem::path& program,
                            const std::vector<std::string>& arguments,
                            const std::filesystem::path& workingFolder) = 0;
    // Starts `program` and does not wait for it; its output is discarded. False when it could
    // not be started.
    virtual bool StartDetached(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments) = 0;
};

// Runs tools with posix_spawn. A program named without a "/" is looked for in the tool folders
// first, then on PATH; the tools see the same PATH, so the program's own tools are found before
// any other program of the same name.
class SpawnToolRunner final : public ToolRunner {
public:
    explicit SpawnToolRunner(std::vector<std::filesystem::path> toolFolders = {});
    ToolRun RunTool(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingFolder) override;
    bool StartDetached(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments) override;

private:
    std::vector<std::filesystem::path> m_toolFolders;
};

} // namespace ballotine

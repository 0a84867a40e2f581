#include "ToolRun.h"

#include "platform/ToolRunner.h"

namespace ballotine::test {

namespace {

// The exit status as a shell reports it.
int ShellStatus(const ballotine::ToolRun& run) {
    switch (run.outcome) {
    case ToolOutcome::Succeeded:
        return 0;
    case ToolOutcome::Failed:
        return run.code;
    case ToolOutcome::Killed:
        return 128 + run.code;
    case ToolOutcome::DidNotStart:
        break;
    }
    return 127;
}

} // namespace

ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments,
                const std::string& shell) {
    SpawnToolRunner runner({BuiltProgram("pkzip25").parent_path()});
    // A shell only for the test's own settings (umask, limits, variables); the arguments reach
    // the tool unchanged through "$@".
    std::vector<std::string> command = {
        "-c", "umask 022; " + shell + " LC_ALL=C pkzip25 \"$@\" 2> stderr.txt", "pkzip25"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ToolRun run;
    run.status = ShellStatus(runner.RunTool("/bin/sh", command, dir.Path()));
    run.errors = ReadFile(dir.Path() / "stderr.txt");
    return run;
}

ToolRun Extract(const TempDir& dir, const std::string& target, const std::string& shell) {
    return RunTool(dir, {"-extract", "-nofix", "-direct", "-over=all", "pack.zip", target}, shell);
}

} // namespace ballotine::test

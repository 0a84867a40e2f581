#include "ToolRun.h"

#include "platform/CommandRunner.h"

namespace ballotine::test {

ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments,
                const std::string& shell) {
    ShellCommandRunner runner({BuiltProgram("pkzip25").parent_path()});
    std::string command = "umask 022; " + shell + " LC_ALL=C pkzip25";
    for (const std::string& argument : arguments) {
        command += " \"" + EscapeForDoubleQuotes(argument) + "\"";
    }
    ToolRun run;
    run.status = runner.Run(command + " 2> stderr.txt", dir.Path());
    run.errors = ReadFile(dir.Path() / "stderr.txt");
    return run;
}

ToolRun Extract(const TempDir& dir, const std::string& target, const std::string& shell) {
    return RunTool(dir, {"-extract", "-nofix", "-direct", "-over=all", "pack.zip", target}, shell);
}

} // namespace ballotine::test

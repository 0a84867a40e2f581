#include "CliTestSupport.h"

#include "cli/CliMain.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <sstream>

namespace ballotine::test {

CliRun RunCliWith(const std::vector<std::string>& args, const std::string& input) {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    CliRun run;
    run.status = RunCli(args, out, err, in, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string word; in >> word;) {
        words.push_back(word == "''" ? "" : word);
    }
    return words;
}

CliRun RunBuiltCli(const std::string& arguments) {
    const ShellRun shell = RunShell(ShellQuoted(BuiltProgram("ballotine-cli").string()) + " " +
                                    arguments + " 2>/dev/null");
    CliRun run;
    run.status = shell.status;
    run.out = shell.out;
    return run;
}

void PutBuiltZipToolOnPath() {
    const std::string tools = BuiltProgram("pkzip25").parent_path().string();
    const char* path = std::getenv("PATH");
    setenv("PATH", (tools + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
}

} // namespace ballotine::test

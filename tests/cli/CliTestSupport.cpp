#include "CliTestSupport.h"

#include "cli/CliMain.h"
#include "support/TestFiles.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>

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
    const std::string command =
        "'" + BuiltProgram("ballotine-cli").string() + "' " + arguments + " 2>/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return run;
    }
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) {
        run.out.append(chunk.data(), got);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace ballotine::test

#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace ballotine {

// ballotine-cli [--registry FILE] [--mod TITLE] [--yes | --no] COMMAND [ARGS...]
// `args` excludes the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::istream& in, bool inputIsTerminal);

// The usage text of the program, or of one command.
std::string UsageText();
std::string CommandHelpText(const std::string& command);

} // namespace ballotine

#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// ballotine-cli [--registry FILE] [--mod MOD] [--yes | --no] COMMAND [ARGS...], or --man,
// --version, --bash-completion
// `args` excludes the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::istream& in, bool inputIsTerminal);

// One option that stands before the command, as the help and the manual page describe it.
struct OptionHelp {
    std::string_view option; // e.g. "--registry FILE"
    std::string_view text;   // what it does; line feeds mark where the usage text breaks
};
const std::vector<OptionHelp>& GlobalOptionsHelp();

// What the program is, in one line, and what its output and exit status are.
inline constexpr const char* kProgramPurpose =
    "Builds and manages vote maps for Half-Life servers running TFC, without a window.";
inline constexpr const char* kOutputRules =
    "Output is one record per line, fields separated by a tab. Messages and questions\n"
    "go to standard error. Exit status: 0 success, 1 failed or declined, 2 usage error.";

// The usage text of the program, or of one command.
std::string UsageText();
std::string CommandHelpText(const std::string& command);

// The manual page (troff, man macros), made from the same texts as the help.
std::string ManPageText();

// The bash completion script, made from the same texts: the commands, their options and what
// their arguments name (files, folders, maps, server sizes).
std::string BashCompletionScript();

} // namespace ballotine

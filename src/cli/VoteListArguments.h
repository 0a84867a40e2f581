#pragma once

#include "cli/CliContext.h"

#include <optional>
#include <string>
#include <vector>

namespace ballotine {

class MainWindowModel;

// The options that build a vote list on the command line, as the window's controls would:
// [--players N] [--walls W] [--no-thugs] [--list FILE] and map names.
struct VoteListArguments {
    std::optional<int> players;
    std::optional<int> walls;
    bool noThugs = false;
    std::optional<std::string> listFile;
    std::vector<std::string> words; // everything that is not an option, in order
};

// Parses `args` of `command`; `--list` only when `listAllowed`. On a wrong line, writes the
// reason to the error stream and returns false.
bool ParseVoteListArguments(CliContext& context, std::string_view command, const CommandArgs& args,
                            bool listAllowed, VoteListArguments& parsed);

// Fills the model as a user would in the window: "Available Maps" scanned and the vote list
// empty, the "Thugs?" box, then the list file loaded as "Load MapList..." does, then the
// players and walls given, then each map added as "<--" adds it (matched without regard to
// case). Returns kExitOk, or the exit status of what went wrong (its message shown).
int BuildVoteList(CliContext& context, std::string_view command, MainWindowModel& model,
                  const VoteListArguments& arguments, const std::vector<std::string>& maps);

} // namespace ballotine

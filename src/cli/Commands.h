#pragma once

#include "catalogue/MainWindowModel.h"
#include "cli/CliContext.h"

#include <string_view>
#include <vector>

namespace ballotine {

struct CommandInfo {
    std::string_view name;
    std::string_view synopsis; // the arguments, e.g. "[DIR]"
    std::string_view summary;  // one line
    std::string_view help;     // what it does, its arguments and output, in full
    bool needsSession;         // locate the game, read the mod list and select the mod first
    int (*run)(CliContext& context, const CommandArgs& args);
};

// Every command, in the order the help lists them.
const std::vector<CommandInfo>& AllCommands();
const CommandInfo* FindCommand(std::string_view name);

int RunPathsCommand(CliContext& context, const CommandArgs& args);
int RunModsCommand(CliContext& context, const CommandArgs& args);
int RunLocateCommand(CliContext& context, const CommandArgs& args);
int RunMapsCommand(CliContext& context, const CommandArgs& args);
int RunCurrentCommand(CliContext& context, const CommandArgs& args);
int RunDetailsCommand(CliContext& context, const CommandArgs& args);
int RunVersionsCommand(CliContext& context, const CommandArgs& args);
int RunUpdatesCommand(CliContext& context, const CommandArgs& args);

// Prints one of the window's map lists after start-up as NAME<TAB>STATE lines (maps, current).
int PrintMapList(CliContext& context, const CommandArgs& args, std::string_view command,
                 MapListId list);

} // namespace ballotine

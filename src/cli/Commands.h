#pragma once

#include "cli/CliContext.h"
#include "models/MainWindowModel.h"
#include "models/MapSettingsModel.h"

#include <string>
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
    // A command that changes the game's files: the operation its writer lock names (see
    // LockGameForWriting), taken before the mod list is read and held to the end. Empty for
    // commands that only read. A command without a session takes the lock itself.
    std::string_view writes = {};
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
int RunCompileCommand(CliContext& context, const CommandArgs& args);
int RunSaveListCommand(CliContext& context, const CommandArgs& args);
int RunShowListCommand(CliContext& context, const CommandArgs& args);
int RunInstallToolsCommand(CliContext& context, const CommandArgs& args);
int RunSizesCommand(CliContext& context, const CommandArgs& args);
int RunDescribeCommand(CliContext& context, const CommandArgs& args);
int RunApplyCommand(CliContext& context, const CommandArgs& args);
int RunUpdatesCommand(CliContext& context, const CommandArgs& args);
int RunInitCommand(CliContext& context, const CommandArgs& args);
int RunSpritesCommand(CliContext& context, const CommandArgs& args);
int RunPublishCommand(CliContext& context, const CommandArgs& args);

// After a start-up failure: one more line on how to get past it (locate, or init).
void SayHowToStart(CliContext& context);

// Prints one of the window's map lists after start-up as NAME<TAB>STATE lines (maps, current).
int PrintMapList(CliContext& context, const CommandArgs& args, std::string_view command,
                 MapListId list);

// The map and server size a map settings command names, as the map settings dialog offers them.
struct ServerSizeChoice {
    std::string map;                 // as the map lists spell it
    std::vector<ServerSizeRow> rows; // the map's server sizes in rank order
    std::string key;                 // the chosen size's key as its file name spells it
};

// Reads MAP (and KEY when `withKey`) of sizes, describe or apply: the map must be in one of the
// window's lists and the key one of its sizes, both matched without regard to case. Returns
// kExitOk, or the exit status after saying what is wrong.
int ChooseServerSize(CliContext& context, const CommandArgs& args, std::string_view command,
                     bool withKey, ServerSizeChoice& choice);

} // namespace ballotine

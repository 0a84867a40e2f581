#include "cli/Commands.h"

namespace ballotine {

const std::vector<CommandInfo>& AllCommands() {
    static const std::vector<CommandInfo> commands = {
        {"paths", "", "print the six working paths",
         "Prints the working paths of the selected mod, one per line as NAME<TAB>PATH, in this\n"
         "order: InstallDir, WorkDir, ModDir, MapsDir, ModWorkDir, VoteSpriteDir. The mod\n"
         "paths are empty when no mod is selected.",
         true, RunPathsCommand},
        {"mods", "", "list the mods of mods.cfg",
         "Prints every record of mods.cfg in file order as\n"
         "DIR<TAB>VERSION<TAB>TITLE<TAB>offered|hidden<TAB>SELECTED, where SELECTED is \"*\"\n"
         "for the selected mod and empty otherwise. A mod is offered when its version is\n"
         "above 0 and its working folder exists.",
         true, RunModsCommand},
        {"locate", "[DIR]", "point the program at a game folder, or list likely ones",
         "With DIR: checks that DIR looks like a Half-Life folder (it holds valve/, the game's\n"
         "program or a Ballotine/ folder) and writes its InstallPath into the registry file\n"
         "(--registry FILE, or ~/.config/Ballotine/registry.conf). Prints\n"
         "InstallPath<TAB>DIR and Registry<TAB>FILE.\n"
         "Without DIR: lists the Half-Life folders found in the usual Steam places, one per\n"
         "line; exit 1 when there is none.",
         false, RunLocateCommand},
        {"versions", "", "print the installed map and entity versions of the selected mod",
         "Reads config.conf of the selected mod's working folder, marks every map file in\n"
         "the mod's maps folder as present (a map found without a recorded version gets\n"
         "version 1), writes config.conf back and prints the record in file order as\n"
         "KEY<TAB>MAPVERSION<TAB>ENTITYVERSION. A map version of 0 means the map is not\n"
         "known to be present, an entity version of 0 that no entity package is installed;\n"
         "mod packages are recorded under \"*\" and the mod's folder name.\n"
         "Exit 1 when config.conf cannot be read (it is never created from nothing) or\n"
         "cannot be written.",
         true, RunVersionsCommand},
    };
    return commands;
}

const CommandInfo* FindCommand(std::string_view name) {
    for (const CommandInfo& command : AllCommands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace ballotine

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
        {"maps", "", "list the maps that can be voted for",
         "Prints \"Available Maps\" as the window shows it after start-up: every map of the\n"
         "selected mod that has a vote sprite, without the maps of the compiled vote map, in\n"
         "list order (ascending, letter case ignored), one per line as NAME<TAB>STATE.\n"
         "STATE is Installed (a built-in map, or its .bsp is in the maps folder),\n"
         "Configurable (the working folder's Entities/ holds entity settings for it) or\n"
         "NotDownloaded (neither). The sprites vote and blank are the vote map's own and are\n"
         "not listed. Nothing is printed when the mod has no vote sprites.",
         true, RunMapsCommand},
        {"current", "", "list the maps of the compiled vote map",
         "Prints \"Vote Map List\" as the window shows it after start-up: the maps whose vote\n"
         "sprite the compiled vote map's entity text (vote.ent in the maps folder) names, in\n"
         "list order, one per line as NAME<TAB>STATE (states as for maps). Maps without a\n"
         "vote sprite are not listed; without vote.ent nothing is printed.",
         true, RunCurrentCommand},
        {"details", "MAP", "show the details pane of one map",
         "Prints what the window's \"Map Details\" pane shows for MAP, four lines\n"
         "Name<TAB>NAME, Size<TAB>SIZE, Downloaded<TAB>TEXT and Caption<TAB>CAPTION, then an\n"
         "empty line and the description. A built-in map (2fort, cz2, hunted, push, rock2,\n"
         "well; any letter case) shows its fixed size, \"By Default\", its title and its\n"
         "description. Any other map shows its .bsp's size as \"N bytes\" and \"Yes\", or\n"
         "\"N/A\" and \"No\"; the first line of its .txt as caption and the rest as\n"
         "description, or the map name and \"Map description not available\".",
         true, RunDetailsCommand},
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
        {"updates", "[--install TITLE... | --all]",
         "list the packages the update server offers, or install some",
         "Fetches the selected mod's map update list (BASEURL/database.conf into update.conf)\n"
         "and the mod update list (into modsupdate.cfg) as \"Check For Updates\" does,\n"
         "installs missing vote map data (the vote sprites of maps the server has data for),\n"
         "takes over new addresses and learns installed mods from the mod update list, and\n"
         "lists every package newer than what is installed, one per line as\n"
         "CATEGORY<TAB>TITLE<TAB>VERSION<TAB>SIZE, categories in the order \"Ballotine\n"
         "Updates\", \"New Maps\", \"Entity Updates\", \"Full Map Updates\", \"Downloadable\n"
         "Maps\", titles in alphabetical order; SIZE is in bytes or N/A. Records whose map\n"
         "keys, folder names or package file names could lead outside the game's folders are\n"
         "left out (noted on standard error).\n"
         "--install TITLE...: downloads the packages of these titles (letter case ignored),\n"
         "printing NAME<TAB>downloaded|failed<TAB>BYTES<TAB>RATE per file, installs them,\n"
         "records their versions in config.conf and prints Log<TAB>PATH of update.log.\n"
         "--all: the same for every listed package.\n"
         "mods.cfg is saved afterwards in every case. Exit 1 when a list could not be\n"
         "fetched, a title is not offered, config.conf is missing (no packages can be\n"
         "installed then) or any package failed to download or install.",
         true, RunUpdatesCommand},
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

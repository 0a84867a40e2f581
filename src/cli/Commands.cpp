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
        {"compile", "[OPTIONS] [MAP...]", "compile maps into the vote map",
         "Options: --players N, --walls W, --no-thugs, --list FILE; \"--\" ends them (a MAP\n"
         "that begins with \"-\" follows it).\n"
         "\n"
         "Builds a vote list and compiles it into vote.bsp as \"Compile VoteMap\" does. The\n"
         "vote list starts empty with 12 players, walls 1 (Normal) and thugs on. --list FILE\n"
         "loads a vote map list as \"Load MapList...\" does (its players and walls, and its\n"
         "maps that are available); --players N (4 to 32) and --walls W (0 Weak, 1 Normal,\n"
         "2 Strong, 3 Super) then override, --no-thugs leaves the thugs out. Each MAP is\n"
         "added from \"Available Maps\" (letter case ignored, the available spelling taken);\n"
         "an unknown MAP is an error. The compile needs 2 to 16 maps, asks before it starts\n"
         "and about maps whose .bsp is missing (--yes answers), fills Entities/vote.ref of\n"
         "the working folder into vote.ent in the maps folder and imports it with the\n"
         "working folder's ripent. Exit 0 only when the map was compiled.",
         true, RunCompileCommand},
        {"save-list", "FILE [OPTIONS] MAP...", "write a vote map list file",
         "Options: --players N, --walls W, --no-thugs; \"--\" ends them (a MAP that begins\n"
         "with \"-\" follows it).\n"
         "\n"
         "Builds a vote list from the MAPs and options as compile does (without --list) and\n"
         "writes it to FILE as \"Save MapList As...\" does: the header, \"PLAYERS THUGS\n"
         "WALLS\" and the maps in list order. FILE without an extension gets \".VML\"; an\n"
         "existing FILE is replaced only after a Yes (--yes answers). The file is replaced\n"
         "whole or not at all.",
         true, RunSaveListCommand},
        {"show-list", "FILE", "show what loading a vote map list takes",
         "Prints what \"Load MapList...\" would take from FILE: first\n"
         "PLAYERS<TAB>THUGS<TAB>WALLS (players held to 4 to 32; thugs as the checked\n"
         "\"Thugs?\" box derives them), then the maps that \"Available Maps\" holds, one per\n"
         "line in list order and in the available spelling, each once. Exit 1 with the\n"
         "load's message when FILE is missing or is no vote map list.",
         true, RunShowListCommand},
        {"install-tools", "", "put ripent into the working folder",
         "Copies the installed ripent (in a build: the one beside ballotine-cli) into the\n"
         "working folder (InstallDir/Ballotine/), where the compile and the entity update run\n"
         "it, replacing an older one whole or not at all. Run it once after building or\n"
         "upgrading. Prints ripent<TAB>PATH.",
         false, RunInstallToolsCommand},
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
        {"sizes", "MAP", "list the server sizes a map has entity settings for",
         "Prints the server sizes that the map settings window lists for MAP, one per line\n"
         "as DISPLAY NAME<TAB>KEY, in the order of servertypes.conf of the mod's working\n"
         "folder. A size is listed when Entities/ holds MAP.KEY.ref and KEY (two characters\n"
         "or more) is in servertypes.conf; KEY keeps the file name's letter case. MAP is a\n"
         "map of \"Available Maps\" or \"Vote Map List\", any letter case; exit 1 when it is\n"
         "neither. Nothing is printed for a map without entity settings.",
         true, RunSizesCommand},
        {"describe", "MAP KEY", "show the title and description of one server size",
         "Prints what the map settings window shows when the size KEY of MAP is clicked: the\n"
         "title of the \"#INFO#\" section of MAP.KEY.ref on the first line, then the\n"
         "description (at most 1023 characters; the first empty line is left out). MAP and\n"
         "KEY are matched as \"sizes\" lists them, any letter case. Exit 1 with \"No map\n"
         "description text found for this setting...\" when the file has no \"#INFO#\"\n"
         "section, and exit 1 when that section ends before its title.",
         true, RunDescribeCommand},
        {"apply", "MAP KEY", "rewrite a map's entities for one server size",
         "Does what \"Update...\" of the map settings window does for the size KEY of MAP:\n"
         "asks \"Are you sure you wish to update this map with the selected entities?\"\n"
         "(answered by --yes or --no), fills the template that MAP.KEY.ref names with its\n"
         "substitutions into MAP.ent in the maps folder, imports it into MAP.bsp with the\n"
         "working folder's ripent, writes the \"#TEXT#\" section into MAP.txt and deletes\n"
         "MAP.ent. Every step's message goes to standard error; a failed step stops the\n"
         "update (a failed import leaves MAP.ent for inspection) and exits 1, as does No.\n"
         "MAP and KEY are matched as \"sizes\" lists them, any letter case.",
         true, RunApplyCommand},
        {"updates", "[--install TITLE... | --all] [--quiet]",
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
         "printing NAME<TAB>downloaded|failed<TAB>BYTES<TAB>RATE per file (on a terminal, a\n"
         "progress line rewritten in place instead), installs them, records their versions\n"
         "in config.conf and prints Log<TAB>PATH of update.log. Why a file failed is said on\n"
         "standard error as NAME: REASON.\n"
         "--all: the same for every listed package.\n"
         "--quiet: no progress, neither the line nor the per-file records.\n"
         "What a server may send is bounded: a package at most the size its list gives plus\n"
         "a sixteenth and 64 KB; a dropped connection is asked again at most 10 times and not\n"
         "after 60 seconds without new data; a list fetched over the network may name no\n"
         "file:// address.\n"
         "Ctrl-C cancels the downloads as \"Cancel All\" does: the packages that arrived are\n"
         "still installed and logged; a second Ctrl-C ends the program at once.\n"
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

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
         "above 0 and its working folder exists. --mod takes an offered mod's DIR or its\n"
         "TITLE (the folder first, letter case ignored).",
         true, RunModsCommand},
        {"locate", "[DIR]", "point the program at a game folder, or list likely ones",
         "With DIR: checks that DIR looks like a Half-Life folder (it holds valve/, the game's\n"
         "program or a Ballotine/ folder) and writes its InstallPath into the registry file\n"
         "(--registry FILE, or ~/.config/Ballotine/registry.conf). Prints\n"
         "InstallPath<TAB>DIR and Registry<TAB>FILE.\n"
         "Without DIR: lists the Half-Life folders found in the usual places, one per line:\n"
         "below every Steam library (native, Flatpak and Snap Steam and the libraries their\n"
         "libraryfolders.vdf name), SteamCMD's folders, and dedicated-server folders such as\n"
         "~/serverfiles and ~/hlds; exit 1 when there is none.",
         false, RunLocateCommand},
        {"init", "[--mod FOLDER]... [--update-server URL]", "set up the game for Ballotine",
         "Makes what Ballotine needs in the game folder and nothing else, never replacing a\n"
         "file: Ballotine/ with ripent (the installed one) and mods.cfg, and for each mod\n"
         "its working folder Ballotine/FOLDER/ with Entities/vote.ref (the vote map kit's),\n"
         "servertypes.conf (12, 16, 24 and 32 players), mappings.conf, VoteMapLists/ and\n"
         "config.conf (the maps on disk); the kit's vote.bsp and sprites vote.spr and\n"
         "blank.spr where the mod has none, and a vote picture for each map without one.\n"
         "--mod FOLDER (any number of times) names the mods' folders; without it, the\n"
         "folders that look like Team Fortress Classic (tfc with a liblist.gam) are set up.\n"
         "Each mod gets a record in mods.cfg: version 1, its title from liblist.gam (the\n"
         "folder's name when that cannot be read) and, with --update-server URL, the mod\n"
         "list address URL/modsupdate.cfg and the base address URL/FOLDER (otherwise empty\n"
         "ones). Prints each file and folder made, one per line (folders end with \"/\");\n"
         "running it again makes only what is missing. When anything cannot be made, what\n"
         "this run made is removed again and the file that failed is named (exit 1).",
         false, RunInitCommand},
        {"maps", "", "list the maps that can be voted for",
         "Prints \"Available Maps\" as the window shows it after start-up: every map of the\n"
         "selected mod that has a vote sprite, without the maps of the compiled vote map, in\n"
         "list order (ascending, letter case ignored), one per line as NAME<TAB>STATE.\n"
         "STATE is Installed (a built-in map, or its .bsp is in the maps folder),\n"
         "Configurable (the working folder's Entities/ holds entity settings for it) or\n"
         "NotDownloaded (neither). The sprites vote and blank are the vote map's own and are\n"
         "not listed, nor are sprites whose names hold a double quote or a control character\n"
         "(no vote map can name them; a note on standard error does). Nothing is printed\n"
         "when the mod has no vote sprites.",
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
        {"sprites", "[--force] [MAP...]", "draw vote pictures for maps that have none",
         "Draws a vote picture (sprites/vote/MAP.spr, 128x64) for every map of the maps\n"
         "folder that has none, or for each MAP named: the map's name on a card under its\n"
         "plan seen from above, read from its .bsp (its name alone on a title card when the\n"
         "map cannot be read). A picture that is there is kept; --force draws it anew.\n"
         "Prints MAP<TAB>plan|title<TAB>PICTURE per picture written; notes go to standard\n"
         "error. Exit 1 when a picture could not be written or a named map has no .bsp.",
         true, RunSpritesCommand, "sprites"},
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
         "working folder's ripent. When the import fails, vote.bsp and vote.ent stay as they\n"
         "were and the new text is kept as vote.ent.failed. Exit 0 only when the map was\n"
         "compiled.",
         true, RunCompileCommand, "compile"},
        {"save-list", "FILE [OPTIONS] MAP...", "write a vote map list file",
         "Options: --players N, --walls W, --no-thugs; \"--\" ends them (a MAP that begins\n"
         "with \"-\" follows it).\n"
         "\n"
         "Builds a vote list from the MAPs and options as compile does (without --list) and\n"
         "writes it to FILE as \"Save MapList As...\" does: the header, \"PLAYERS THUGS\n"
         "WALLS\" and the maps in list order. FILE without an extension gets \".VML\"; an\n"
         "existing FILE is replaced only after a Yes (--yes answers). The file is replaced\n"
         "whole or not at all.",
         true, RunSaveListCommand, "save-list"},
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
         "it, replacing the one there whole or not at all, whatever its version. Prints\n"
         "ripent<TAB>PATH. Every command that works on a mod does this by itself first when\n"
         "the working folder's ripent is missing or older than the installed one (as\n"
         "\"ripent --version\" tells), and says so on standard error.",
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
         true, RunVersionsCommand, "versions"},
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
         true, RunApplyCommand, "apply"},
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
         "Packages that share a title are listed as \"TITLE (KEY)\"; a TITLE that names\n"
         "more than one package is refused with their names. A mod package may replace\n"
         "program files the game runs: it is installed only after a Yes (--yes answers;\n"
         "without a terminal the answer is No, so a cron job that takes mod updates runs\n"
         "--yes updates --all). No package writes outside the game folder (links followed)\n"
         "or into Ballotine/ but for entity files in Ballotine/MOD/Entities: such a package\n"
         "is refused whole. Map, entity and vote data packages bring no program files\n"
         "(.exe, .dll, .cfg, .so, .so.N, executables by mode, ELF or #! by content): each\n"
         "is left out with a line in update.log.\n"
         "--all: the same for every listed package.\n"
         "--quiet: no progress, neither the line nor the per-file records.\n"
         "What a server may send is bounded: a package at most the size its list gives plus\n"
         "a sixteenth and 64 KB; a dropped connection is asked again at most 10 times and not\n"
         "after 60 seconds without new data; a list fetched over the network may name no\n"
         "file:// address.\n"
         "Ctrl-C cancels the downloads as \"Cancel All\" does: the packages that arrived are\n"
         "still installed and logged; a second Ctrl-C ends the program at once.\n"
         "mods.cfg is saved afterwards in every case. Exit 1 when a list could not be\n"
         "fetched, a title is not offered or names several packages, config.conf is\n"
         "missing (no packages can be installed then), or any package was declined or\n"
         "failed to download or install.",
         true, RunUpdatesCommand, "updates"},
        {"publish", "SOURCE DEST --base-url URL [--mod FOLDER]...",
         "make an update server from a folder of maps",
         "Turns SOURCE, laid out like a game folder (SOURCE/MOD/maps/*.bsp with their .txt,\n"
         ".res and _detail.txt; the files their entities name below SOURCE/MOD or\n"
         "SOURCE/valve; entity settings in SOURCE/MOD/Entities/; vote pictures in\n"
         "SOURCE/MOD/sprites/vote/), into a static update server in DEST that is served at\n"
         "URL: DEST/modsupdate.cfg, and per mod DEST/MOD/database.conf with the map, entity\n"
         "and vote data packages it names. A game points at it with\n"
         "\"init --update-server URL\". A missing vote picture is drawn from the map for\n"
         "its packages; SOURCE is only read. SOURCE/publish.conf may give titles, a mirror\n"
         "and mod packages (see the README). --mod FOLDER publishes only those mod folders\n"
         "(repeatable); DEST then holds no others.\n"
         "Each run raises the version of a package whose content changed (by SHA-256) and\n"
         "gives new maps the next revision; an unchanged SOURCE changes nothing in DEST.\n"
         "Packages are put in place first, the lists last, each by a rename; a failed\n"
         "publish leaves DEST as it was.\n"
         "Prints one line per package as\n"
         "package<TAB>PATH<TAB>KIND<TAB>VERSION<TAB>SIZE<TAB>STATE (KIND map, entities,\n"
         "votedata or mod; STATE new, changed or unchanged), per list\n"
         "list<TAB>PATH<TAB>changed|unchanged, removed<TAB>PATH for each file taken off the\n"
         "server and missing<TAB>MOD<TAB>MAP<TAB>PATH for each file a map names that SOURCE\n"
         "lacks; warnings go to standard error. Exit 1 when nothing could be published (DEST\n"
         "is then unchanged), 2 for a wrong command line.",
         false, RunPublishCommand},
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

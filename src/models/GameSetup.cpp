#include "models/GameSetup.h"

#include "catalogue/ModFolders.h"
#include "catalogue/ModListFile.h"
#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "models/EntityTool.h"
#include "models/SetupJournal.h"
#include "models/VotePictures.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "updates/VersionTable.h"

#include <algorithm>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

constexpr const char* kKitFiles[] = {"vote.bsp", "vote.ref", "vote.spr", "blank.spr"};
constexpr std::size_t kLongestServerAddress = 400; // mods.cfg keeps 511 characters of one

// What was checked before anything is made.
struct SetupPlan {
    WorkingPaths paths; // the game and its working folder; mod paths set per mod
    std::string server; // without a trailing "/"
    ModTable table;     // mods.cfg as it is, when there is one
    bool hasModList = false;
};

std::string CheckServerAddress(const std::string& given, std::string& server) {
    server = given;
    while (!server.empty() && server.back() == '/') {
        server.pop_back();
    }
    if (given.empty()) {
        return {};
    }
    const std::size_t scheme = server.find("://");
    const bool printable = std::none_of(server.begin(), server.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
    });
    if (scheme == std::string::npos || scheme == 0 || scheme + 3 >= server.size() || !printable ||
        server.size() > kLongestServerAddress) {
        return "'" + given + "' is not an update server address (such as http://host/path)";
    }
    return {};
}

// The mod folders to set up, spelled as on disk, each once.
std::string ChooseMods(const GameSetupRequest& request, GameSetupReport& report) {
    const FolderListing game = FolderListing::ReadNames(request.gameDir);
    if (request.modFolders.empty()) {
        report.mods = FindTfcFolders(request.gameDir);
        if (report.mods.empty()) {
            return "no Team Fortress Classic folder (tfc with a liblist.gam) in " +
                   request.gameDir + "; name the mod's folder with --mod FOLDER";
        }
        for (const std::string& mod : report.mods) {
            report.notes.push_back("setting up " + mod + " (" +
                                   ReadModTitle(fs::path(request.gameDir) / mod) + ")");
        }
        return {};
    }
    for (const std::string& asked : request.modFolders) {
        if (!IsModFolderName(asked) || EqualsNoCase(asked, "Ballotine")) {
            return "'" + asked + "' cannot be a mod's folder: it must be one folder name " +
                   "without blanks, and not Ballotine's own";
        }
        const FolderEntry* entry = game.Find(asked);
        if (entry == nullptr || !entry->isFolder) {
            return "there is no mod folder '" + asked + "' in " + request.gameDir;
        }
        if (std::find(report.mods.begin(), report.mods.end(), entry->name) == report.mods.end()) {
            report.mods.push_back(entry->name);
        }
    }
    return {};
}

std::string CheckKit(const fs::path& kit) {
    if (kit.empty()) {
        return "the vote map kit (vote.bsp, vote.ref, vote.spr, blank.spr) was not found";
    }
    for (const char* file : kKitFiles) {
        if (!FileExists(kit / file)) {
            return "the vote map kit in " + kit.string() + " lacks " + file;
        }
    }
    return {};
}

std::string CheckRequest(const GameSetupRequest& request, SetupPlan& plan,
                         GameSetupReport& report) {
    if (!FolderExists(request.gameDir)) {
        return "the game folder " + request.gameDir + " does not exist";
    }
    std::string error = CheckServerAddress(request.updateServer, plan.server);
    if (error.empty()) {
        error = ChooseMods(request, report);
    }
    if (error.empty()) {
        error = CheckKit(request.kitFolder);
    }
    if (!error.empty()) {
        return error;
    }
    plan.paths.installDir = request.gameDir;
    ComputeWorkDir(plan.paths);
    switch (ReadModTable(plan.paths.workDir, plan.table)) {
    case ModListRead::NotFound:
        return {};
    case ModListRead::Invalid:
        return plan.paths.workDir + kModListFileName + " is not a mod list (its first line is " +
               "not \"" + kModHeader + "\"); it is left as it is";
    case ModListRead::Read:
        plan.hasModList = true;
        return {};
    }
    return {};
}

bool WriteIfMissing(SetupJournal& journal, const fs::path& file, const std::string& content) {
    return FileExists(file) || journal.WriteNew(file, content);
}

bool CopyIfMissing(SetupJournal& journal, const fs::path& from, const fs::path& to) {
    return FileExists(to) || journal.CopyNew(from, to);
}

bool WriteVersionRecord(SetupJournal& journal, const WorkingPaths& paths) {
    const fs::path file = paths.modWorkDir + kVersionFileName;
    if (FileExists(file)) {
        return true;
    }
    VersionTable table;
    if (!ScanInstalledMaps(table, paths)) {
        journal.Fail("cannot write " + file.string());
        return false;
    }
    journal.Adopt(file);
    return true;
}

bool DrawMissingPictures(SetupJournal& journal, const WorkingPaths& paths,
                         GameSetupReport& report) {
    const PictureReport pictures = MakeVotePictures(paths, {}, false);
    for (const PictureWritten& written : pictures.written) {
        journal.Adopt(written.file);
    }
    for (const PictureNote& note : pictures.notes) {
        if (note.kind == PictureNote::Kind::NotWritten) {
            journal.Fail(note.text);
            return false;
        }
        report.notes.push_back(note.text);
    }
    return true;
}

// The mod's working folder, its vote map and its pictures.
bool SetUpMod(SetupJournal& journal, const WorkingPaths& paths, const std::string& mod,
              const fs::path& kit, GameSetupReport& report) {
    const std::string entities = paths.modWorkDir + "Entities/";
    const std::string lists = paths.modWorkDir + "VoteMapLists/";
    return journal.MakeFolders(entities) &&
           CopyIfMissing(journal, kit / "vote.ref", entities + "vote.ref") &&
           WriteIfMissing(journal, paths.modWorkDir + "servertypes.conf", DefaultServerTypes()) &&
           WriteIfMissing(journal, paths.modWorkDir + "mappings.conf", DefaultMappings(mod)) &&
           journal.MakeFolders(lists) &&
           // the maps on disk before the kit's vote map joins them
           WriteVersionRecord(journal, paths) && journal.MakeFolders(paths.mapsDir) &&
           CopyIfMissing(journal, kit / "vote.bsp", paths.mapsDir + "vote.bsp") &&
           journal.MakeFolders(paths.voteSpriteDir) &&
           CopyIfMissing(journal, kit / "vote.spr", paths.voteSpriteDir + "vote.spr") &&
           CopyIfMissing(journal, kit / "blank.spr", paths.voteSpriteDir + "blank.spr") &&
           DrawMissingPictures(journal, paths, report);
}

bool PlaceEntityTool(SetupJournal& journal, const SetupPlan& plan,
                     const std::vector<fs::path>& toolFolders, GameSetupReport& report) {
    const fs::path target = plan.paths.workDir + kEntityToolName;
    if (FileExists(target)) {
        return true;
    }
    const std::optional<fs::path> installed = InstalledEntityTool(toolFolders);
    if (!installed) {
        report.notes.push_back("no installed ripent was found to put into " + plan.paths.workDir +
                               "; compiling vote maps needs one there");
        return true;
    }
    return journal.CopyNew(*installed, target);
}

// The record init gives a mod: its title made unique, as the selector finds mods by title.
ModRecord RecordFor(const SetupPlan& plan, const std::string& mod) {
    std::string title = ReadModTitle(fs::path(plan.paths.installDir) / mod);
    if (plan.table.FindModByTitle(title) >= 0) {
        title += " (" + mod + ")";
    }
    return ModRecord{mod, kSetUpModVersion, title,
                     plan.server.empty() ? "" : plan.server + "/" + mod, false};
}

bool WriteModList(SetupJournal& journal, SetupPlan& plan, GameSetupReport& report) {
    const std::size_t known = plan.table.records.size();
    for (const std::string& mod : report.mods) {
        const std::int32_t index = plan.table.FindModByDir(mod);
        if (index < 0) {
            plan.table.records.push_back(RecordFor(plan, mod));
        } else if (plan.table.records[static_cast<std::size_t>(index)].version <= 0) {
            report.notes.push_back(mod + " is in " + kModListFileName +
                                   " with version 0: it is offered once its mod package is "
                                   "installed");
        }
    }
    const fs::path file = plan.paths.workDir + kModListFileName;
    if (!plan.hasModList) {
        plan.table.modListUrl = plan.server.empty() ? "" : plan.server + "/modsupdate.cfg";
        return journal.WriteNew(file, ModListText(plan.table));
    }
    return plan.table.records.size() == known || journal.Replace(file, ModListText(plan.table));
}

} // namespace

std::string DefaultServerTypes() {
    return "//Supported Server Types - *** DO NOT MODIFY ***//\n"
           "12\n"
           "Small server (up to 12 players)\n"
           "16\n"
           "Medium server (13 to 16 players)\n"
           "24\n"
           "Large server (17 to 24 players)\n"
           "32\n"
           "Full server (25 to 32 players)\n"
           "#END#";
}

std::string DefaultMappings(const std::string& mod) {
    return "Where the files of a package go (written by ballotine-cli init).\n"
           "#FILES#\n"
           "bsp " +
           mod + "\\maps\n" + "txt " + mod + "\\maps\n" + "res " + mod + "\\maps\n" + "wad " + mod +
           "\n"
           "#DIRS#\n"
           "valve @\n"
           "Entities \\Ballotine\\" +
           mod + "\n" + "#END#";
}

GameSetupReport SetUpGame(const GameSetupRequest& request) {
    GameSetupReport report;
    SetupPlan plan;
    report.error = CheckRequest(request, plan, report);
    if (!report.Succeeded()) {
        return report;
    }
    SetupJournal journal;
    bool ok = journal.MakeFolders(plan.paths.workDir) &&
              PlaceEntityTool(journal, plan, request.toolFolders, report);
    for (std::size_t i = 0; ok && i < report.mods.size(); ++i) {
        WorkingPaths paths = plan.paths;
        ComputeModPaths(paths, report.mods[i]);
        ok = SetUpMod(journal, paths, report.mods[i], request.kitFolder, report);
    }
    // Last, so that a run cut short leaves a game that still asks to be set up.
    ok = ok && WriteModList(journal, plan, report);
    if (!ok) {
        report.error = journal.Error();
        journal.Undo();
        return report;
    }
    report.made = journal.Made();
    return report;
}

} // namespace ballotine

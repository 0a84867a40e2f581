#include "models/WindowStart.h"

#include "catalogue/GameFolders.h"
#include "catalogue/GameLocator.h"
#include "catalogue/GameRegistration.h"
#include "catalogue/ModFolders.h"
#include "catalogue/ModListFile.h"
#include "catalogue/WorkingPaths.h"
#include "models/EntityTool.h"
#include "models/GameSetup.h"
#include "platform/FileSystem.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Services.h"

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// The registry's game folder when it exists; else the user's choice, registered.
std::optional<std::string> LocateOrChooseGame(RegistryFile& registry, const StartPlaces& places,
                                              Prompter& prompter, const GameFolderChooser& choose) {
    if (std::optional<std::string> folder = RegisteredGameFolder(registry)) {
        if (FolderExists(*folder)) {
            return folder;
        }
    }
    const std::optional<fs::path> chosen = choose(FindGameFolders(places.home));
    if (!chosen) {
        prompter.ShowMessage(kGameNotInstalledMessage);
        return std::nullopt;
    }
    const GameFolderCheck check = CheckGameFolder(chosen->string());
    std::string error = check.problem;
    if (error.empty()) {
        error = RegisterGameFolder(registry, places.registryFile, check.folder);
    }
    if (!error.empty()) {
        prompter.ShowMessage(error);
        return std::nullopt;
    }
    registry = RegistryFile::Load(places.registryFile);
    return RegisteredGameFolder(registry);
}

std::string SetUpQuestion(const std::string& game, const std::vector<std::string>& mods) {
    std::string named;
    for (const std::string& mod : mods) {
        named +=
            (named.empty() ? "" : ", ") + ReadModTitle(fs::path(game) / mod) + " (" + mod + ")";
    }
    return "Ballotine has not been set up in " + game + " yet.\n\nSet it up for " + named +
           " now? This makes Ballotine's own folder with its mod list and working files, puts "
           "the vote map kit in place where the mod has none and draws vote pictures for the "
           "maps that have none. Nothing there is replaced.";
}

// Offers to set the game up when it has no mod list; the session's start reports what is still
// missing afterwards.
void OfferSetUp(const std::string& game, const StartPlaces& places, Prompter& prompter) {
    WorkingPaths paths;
    paths.installDir = game;
    ComputeWorkDir(paths);
    if (FileExists(paths.workDir + kModListFileName)) {
        return;
    }
    const std::vector<std::string> mods = FindTfcFolders(game);
    if (mods.empty()) {
        prompter.ShowMessage("Ballotine has not been set up in " + game +
                             ", and it holds no Team Fortress Classic folder (tfc with a "
                             "liblist.gam) to set up. ballotine-cli init --mod FOLDER sets up "
                             "another mod.");
        return;
    }
    if (!prompter.AskYesNo(SetUpQuestion(game, mods))) {
        return;
    }
    GameSetupRequest request;
    request.gameDir = game;
    request.modFolders = mods;
    request.kitFolder = VoteKitFolder(places.programFolder).value_or(fs::path());
    request.toolFolders = HelperToolFolders(places.programFolder);
    const auto lock = LockGameForWriting(paths.workDir, "init", prompter);
    if (!lock) {
        return;
    }
    GameSetupReport report;
    {
        const BusyScope busy(prompter);
        report = SetUpGame(request);
    }
    if (!report.Succeeded()) {
        prompter.ShowMessage("Ballotine could not be set up in " + game + ": " + report.error +
                             ".\nNothing was changed.");
    }
}

void RefreshTool(const std::string& game, const StartPlaces& places, Services& services) {
    WorkingPaths paths;
    paths.installDir = game;
    ComputeWorkDir(paths);
    if (!FolderExists(paths.workDir)) {
        return;
    }
    const EntityToolRefresh refresh =
        RefreshEntityTool(paths.workDir, HelperToolFolders(places.programFolder), services.runner);
    if (refresh.outcome == EntityToolRefresh::Outcome::NotWritten) {
        services.prompter.ShowMessage(refresh.text);
    }
}

} // namespace

bool PrepareWindowStart(RegistryFile& registry, const StartPlaces& places, Services& services,
                        const GameFolderChooser& chooseGameFolder) {
    const std::optional<std::string> game =
        LocateOrChooseGame(registry, places, services.prompter, chooseGameFolder);
    if (!game) {
        return false;
    }
    OfferSetUp(*game, places, services.prompter);
    RefreshTool(*game, places, services);
    return true;
}

} // namespace ballotine

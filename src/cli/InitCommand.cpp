#include "catalogue/GameLocator.h"
#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "models/GameSetup.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"

namespace ballotine {

namespace {

// init's own arguments: --update-server URL (the mod folders come as --mod).
bool ReadInitArguments(CliContext& context, const CommandArgs& args, GameSetupRequest& request) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--update-server" && i + 1 < args.size() && request.updateServer.empty()) {
            request.updateServer = args[++i];
        } else {
            context.err << "init takes --mod FOLDER (any number) and --update-server URL (once)\n";
            return false;
        }
    }
    return true;
}

} // namespace

int RunInitCommand(CliContext& context, const CommandArgs& args) {
    GameSetupRequest request;
    if (!ReadInitArguments(context, args, request)) {
        return kExitUsage;
    }
    WorkingPaths& paths = context.session.paths;
    if (!LocateGame(paths, context.registry, context.prompter)) {
        SayHowToStart(context);
        return kExitFailed;
    }
    const std::filesystem::path programs = ProgramFolder();
    const std::optional<std::filesystem::path> kit = VoteKitFolder(programs);
    if (!kit) {
        context.err << "init: the vote map kit (vote.bsp, vote.ref, vote.spr, blank.spr) is not in";
        for (const std::filesystem::path& place : VoteKitPlaces(programs)) {
            context.err << " " << place.string();
        }
        context.err << "\n";
        return kExitFailed;
    }
    // Running again adds to a game already set up, which others may be changing.
    const auto lock = LockGameForWriting(paths.workDir, "init", context.prompter);
    if (!lock) {
        return kExitFailed;
    }
    request.gameDir = paths.installDir;
    request.modFolders = context.modChoices;
    request.kitFolder = *kit;
    request.toolFolders = HelperToolFolders(programs);
    const GameSetupReport report = SetUpGame(request);
    for (const std::string& note : report.notes) {
        context.err << "init: " << note << "\n";
    }
    if (!report.Succeeded()) {
        context.err << "init: " << report.error << "\n";
        return kExitFailed;
    }
    for (const std::string& made : report.made) {
        context.out << made << '\n';
    }
    if (report.made.empty()) {
        context.err << "init: nothing to make: " << paths.installDir << " is set up already\n";
    }
    return kExitOk;
}

} // namespace ballotine

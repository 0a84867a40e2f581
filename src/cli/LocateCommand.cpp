#include "catalogue/GameFolders.h"
#include "catalogue/GameRegistration.h"
#include "cli/Commands.h"

#include <cstdlib>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

int ListLikelyGameFolders(CliContext& context) {
    const char* home = std::getenv("HOME");
    const auto found = FindGameFolders(home != nullptr ? home : "/");
    if (found.empty()) {
        context.err << "No Half-Life folder found in the usual Steam, SteamCMD and server "
                       "places.\n"
                       "Run: ballotine-cli locate /path/to/Half-Life\n";
        return kExitFailed;
    }
    for (const fs::path& folder : found) {
        context.out << folder.string() << '\n';
    }
    return kExitOk;
}

int WriteGameFolder(CliContext& context, const std::string& dir) {
    const GameFolderCheck check = CheckGameFolder(dir);
    if (!check.problem.empty()) {
        context.err << check.problem << "\n";
        return kExitFailed;
    }
    if (const std::string error =
            RegisterGameFolder(context.registry, context.registryPath, check.folder);
        !error.empty()) {
        context.err << error << "\n";
        return kExitFailed;
    }
    context.out << "InstallPath\t" << check.folder.string() << '\n'
                << "Registry\t" << context.registryPath.string() << '\n';
    return kExitOk;
}

} // namespace

int RunLocateCommand(CliContext& context, const CommandArgs& args) {
    if (args.size() > 1) {
        context.err << "locate takes at most one folder\n";
        return kExitUsage;
    }
    return args.empty() ? ListLikelyGameFolders(context) : WriteGameFolder(context, args[0]);
}

} // namespace ballotine

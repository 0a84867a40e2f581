#include "catalogue/GameFolders.h"
#include "cli/Commands.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

#include <cstdlib>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

int ListLikelyGameFolders(CliContext& context) {
    const char* home = std::getenv("HOME");
    const auto found = FindSteamGameFolders(home != nullptr ? home : "/");
    if (found.empty()) {
        context.err << "No Half-Life folder found in the usual Steam places.\n"
                       "Run: ballotine-cli locate /path/to/Half-Life\n";
        return kExitFailed;
    }
    for (const fs::path& folder : found) {
        context.out << folder.string() << '\n';
    }
    return kExitOk;
}

int WriteGameFolder(CliContext& context, const std::string& dir) {
    std::error_code error;
    const fs::path folder = fs::absolute(dir, error).lexically_normal();
    if (error || !FolderExists(folder)) {
        context.err << "'" << dir << "' is not a folder.\n";
        return kExitFailed;
    }
    if (!LooksLikeGameFolder(folder)) {
        context.err << "'" << dir
                    << "' does not look like a Half-Life folder (no valve folder, game program "
                       "or Ballotine folder).\n";
        return kExitFailed;
    }
    std::string installPath = folder.string();
    while (installPath.size() > 1 && installPath.back() == '/') {
        installPath.pop_back();
    }
    RegistryFile registry = context.registry;
    registry.SetValue(kGameRegistryKey, kInstallPathValue, installPath);
    const fs::path registryFolder = context.registryPath.parent_path();
    if ((!registryFolder.empty() && !CreateFolders(registryFolder)) ||
        !WriteFileAtomically(context.registryPath, registry.Serialize())) {
        context.err << "Unable to write " << context.registryPath.string() << "\n";
        return kExitFailed;
    }
    context.out << "InstallPath\t" << installPath << '\n'
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

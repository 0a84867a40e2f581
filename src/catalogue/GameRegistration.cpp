#include "catalogue/GameRegistration.h"

#include "catalogue/GameFolders.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace ballotine {
namespace fs = std::filesystem;

GameFolderCheck CheckGameFolder(std::string_view dir) {
    GameFolderCheck check;
    std::error_code error;
    check.folder = fs::absolute(fs::path(dir), error).lexically_normal();
    if (!error && !check.folder.has_filename() && check.folder.has_relative_path()) {
        check.folder = check.folder.parent_path();
    }
    const std::string shown = "'" + std::string(dir) + "'";
    if (dir.empty() || error || !FolderExists(check.folder)) {
        check.problem = shown + " is not a folder.";
    } else if (const std::string missing = MissingGameParts(check.folder); !missing.empty()) {
        check.problem = shown + " does not look like a Half-Life folder: " + missing + ".";
    }
    return check;
}

std::string RegisterGameFolder(const RegistryFile& registry, const fs::path& registryPath,
                               const fs::path& folder) {
    RegistryFile updated = registry;
    updated.SetValue(kGameRegistryKey, kInstallPathValue, folder.string());
    const fs::path registryFolder = registryPath.parent_path();
    if ((!registryFolder.empty() && !CreateFolders(registryFolder)) ||
        !WriteFileAtomically(registryPath, updated.Serialize())) {
        return "Unable to write " + registryPath.string();
    }
    return {};
}

} // namespace ballotine

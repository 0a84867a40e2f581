#include "catalogue/GameLocator.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"

namespace ballotine {

namespace {

std::string InstallPathOf(const RegistryFile& registry) {
    std::string installDir;
    for (const RegistryValue& value : registry.Values(kGameRegistryKey)) {
        if (EqualsNoCase(value.name, kInstallPathValue)) {
            installDir = ToNativeSeparators(value.data);
        }
    }
    return installDir;
}

} // namespace

std::optional<std::string> RegisteredGameFolder(const RegistryFile& registry) {
    std::string installDir = InstallPathOf(registry);
    return installDir.empty() ? std::nullopt : std::optional(std::move(installDir));
}

bool LocateGame(WorkingPaths& paths, const RegistryFile& registry, Prompter& prompter) {
    if (!registry.HasKey(kGameRegistryKey)) {
        prompter.ShowMessage(kGameNotInstalledMessage);
        return false;
    }
    const std::string installDir = InstallPathOf(registry);
    if (installDir.empty()) {
        prompter.ShowMessage(kInstallPathMissingMessage);
        return false;
    }
    paths = WorkingPaths{};
    paths.installDir = installDir;
    ComputeWorkDir(paths);
    return true;
}

} // namespace ballotine

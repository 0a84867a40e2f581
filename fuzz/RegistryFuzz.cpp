// registry.conf, the registry file that says where the game is: what `locate`
// writes into any file must be what start-up then reads from it.
#include "FuzzSupport.h"
#include "catalogue/GameLocator.h"
#include "catalogue/WorkingPaths.h"
#include "platform/Registry.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegistryFile registry = RegistryFile::Parse(fuzz::AsText(data, size));
    registry.SetValue(kGameRegistryKey, kInstallPathValue, "/game");
    const RegistryFile again = RegistryFile::Parse(registry.Serialize());
    WorkingPaths paths;
    fuzz::SilentPrompter prompter;
    if (!LocateGame(paths, again, prompter) || paths.installDir != "/game") {
        fuzz::Violated("the game folder written is not the one read back");
    }
    return 0;
}

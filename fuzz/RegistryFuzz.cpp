// registry.conf, the stand-in for the registry that says where the game is.
#include "FuzzSupport.h"
#include "platform/Registry.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegistryFile registry = RegistryFile::Parse(fuzz::AsText(data, size));
    registry.Values(kGameRegistryKey);
    registry.SetValue(kGameRegistryKey, kInstallPathValue, "/game");
    const RegistryFile again = RegistryFile::Parse(registry.Serialize());
    const std::vector<RegistryValue> values = again.Values(kGameRegistryKey);
    bool found = false;
    for (const RegistryValue& value : values) {
        found = found || (value.name == kInstallPathValue && value.data == "/game");
    }
    if (!found) {
        fuzz::Violated("a value set and written is not read back");
    }
    return 0;
}

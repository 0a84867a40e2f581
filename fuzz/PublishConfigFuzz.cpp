// The publisher's settings in SOURCE (publish.conf) and its state in DEST (publish.state).
#include "FuzzSupport.h"
#include "publish/PublishConfig.h"
#include "publish/PublishNames.h"
#include "publish/PublishState.h"

#include <sstream>

using namespace ballotine;

namespace {

void CheckConfig(const PublishConfig& config) {
    for (const ModSettings& mod : config.mods) {
        if (!IsPublishableName(mod.folder)) {
            fuzz::Violated("a mod folder that cannot be published was accepted");
        }
        for (const auto& [lower, key] : mod.keys) {
            for (const auto& title : {key.mapTitle, key.entityTitle}) {
                if (title && CleanTitle(*title) != title) {
                    fuzz::Violated("a title the update list cannot carry was accepted");
                }
            }
        }
        if (mod.packageTitle.has_value() != mod.packageFolder.has_value()) {
            fuzz::Violated("a mod package without its title or folder was accepted");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(fuzz::AsText(data, size));
    std::string error;
    std::istringstream config(text);
    if (const auto read = ParsePublishConfig(config, error)) {
        CheckConfig(*read);
    } else if (!error.starts_with("line ")) {
        fuzz::Violated("a refused publish.conf without the line at fault");
    }
    std::istringstream state(text);
    if (const auto read = ParsePublishState(state, error)) {
        const std::string written = SerializePublishState(*read);
        std::istringstream again(written);
        const auto reread = ParsePublishState(again, error);
        if (!reread || SerializePublishState(*reread) != written) {
            fuzz::Violated("a state that does not read back as it was written");
        }
    }
    return 0;
}

// A vote sprite (sprites/vote/MAP.spr), shown as the map's picture.
#include "FuzzSupport.h"
#include "mapsettings/PreviewSet.h"

#include <memory>

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::Scratch::Get().Write("map.spr", fuzz::AsText(data, size));
    static const auto preview = std::make_unique<PreviewSet>();
    LoadPreview(*preview, path);
    return 0;
}

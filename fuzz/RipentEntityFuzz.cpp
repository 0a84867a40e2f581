// ripent on entity text: what the game could not load is refused before the map is touched.
#include "FuzzSupport.h"
#include "ripent/EntityText.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    std::string error;
    const std::optional<std::string> lump = ripent::MakeEntityLump(text, error);
    if (lump) {
        if (lump->empty() || lump->back() != '\0' ||
            ripent::FindEntityTextError(ripent::EntityTextOfLump(*lump))) {
            fuzz::Violated("an accepted lump is not well-formed entity text");
        }
    } else if (error.empty()) {
        fuzz::Violated("refused entity text without a reason");
    }
    return 0;
}

// The map reader on any bytes (vote pictures read every installed map): a map it accepts must
// answer point contents for every hull and give every model's faces without reading outside
// its records.
#include "FuzzSupport.h"
#include "bsp/MapReader.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const std::optional<bsp::BspMap> map =
        bsp::BspMap::Parse(std::string(fuzz::AsText(data, size)), error);
    if (!map) {
        if (error.empty()) {
            fuzz::Violated("a refused map without a reason");
        }
        return 0;
    }
    for (int model = 0; model < map->ModelCount() && model < 16; ++model) {
        for (const bsp::Hull hull :
             {bsp::Hull::Point, bsp::Hull::Standing, bsp::Hull::Large, bsp::Hull::Crouching}) {
            map->ModelContents(model, {0, 0, 0}, hull);
            map->ModelContents(model, {100.5F, -37.25F, 64}, hull, {1, 2, 3});
        }
        for (const bsp::Polygon& face : map->Faces(model)) {
            bsp::IsFloor(face);
        }
    }
    map->EntityText();
    return 0;
}

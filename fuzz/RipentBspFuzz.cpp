// ripent on a map file: the header and lump table checks, the import that rewrites the map
// and the export that reads its entities.
#include "FuzzSupport.h"
#include "ripent/Ripent.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("map.bsp", fuzz::AsText(data, size));
    scratch.Write("map.ent", "{\n\"classname\" \"worldspawn\"\n}\n");
    const std::string base = scratch.Folder() + "map";
    std::string error;
    const bool imported = ripent::ImportEntities(base, error);
    if (!imported && error.empty()) {
        fuzz::Violated("a refused import without a reason");
    }
    error.clear();
    if (!ripent::ExportEntities(base, error) && imported) {
        fuzz::Violated("a map just imported cannot be exported");
    }
    return 0;
}

// What a map's entity text, resource list and detail texture list name, as the publisher
// packages it.
#include "FuzzSupport.h"
#include "publish/MapReferences.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    MapReferences references = ReferencesInEntityText(text);
    AddResourceList(text, references);
    AddDetailTextures(text, references);
    for (const std::string& file : references.files) {
        if (PlainRelativePath(file) != file) {
            fuzz::Violated("a reference that leaves the mod's folder was taken");
        }
    }
    return 0;
}

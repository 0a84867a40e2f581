// An entity reference file (Entities/MAP.KEY.ref): its template reference and substitutions,
// its "#INFO#" description and its "#TEXT#" map text, and the template filled with it.
#include "FuzzSupport.h"
#include "mapsettings/EntityUpdate.h"
#include "mapsettings/ReferenceData.h"
#include "mapsettings/SettingDescription.h"

using namespace ballotine;

namespace {

constexpr const char* kTemplate = "{\n"
                                  "\"classname\" \"worldspawn\"\n"
                                  "\"wad\" \"WAD_LIST\"\n"
                                  "}\n"
                                  "{\n"
                                  "\"classname\" \"info_player_teamspawn\"\n"
                                  "\"origin\" \"0 0 0\"\n"
                                  "\"team_no\" \"TEAM\"\n"
                                  "}\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("Entities/map.tpt", kTemplate);
    const std::string reference = scratch.Write("Entities/map.16.ref", fuzz::AsText(data, size));
    fuzz::SilentPrompter prompter;
    ReferenceData referenceData;
    if (ExtractReferenceData(reference, scratch.Folder(), referenceData, prompter)) {
        if (referenceData.substitutions.size() > kMaxSubstitutions) {
            fuzz::Violated("more substitutions than the limit");
        }
        WriteEntityText(referenceData, scratch.Folder() + "map.ent");
    }
    const SettingDescription setting = ReadSettingDescription(scratch.Folder(), "map", "16");
    if (setting.description.size() > kDescriptionLimit) {
        fuzz::Violated("a description longer than its limit");
    }
    WriteMapText(reference, scratch.Folder() + "map.txt");
    return 0;
}

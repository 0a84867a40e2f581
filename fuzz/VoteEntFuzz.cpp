// vote.ent, the compiled vote map's entity text, read back for "Vote Map List".
#include "FuzzSupport.h"
#include "catalogue/MapList.h"
#include "catalogue/MapScan.h"
#include "catalogue/WorkingPaths.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("tfc/maps/vote.ent", fuzz::AsText(data, size));
    WorkingPaths paths;
    paths.installDir = scratch.Path().string();
    ComputeWorkDir(paths);
    ComputeModPaths(paths, "tfc");
    MapList available;
    for (const char* name : {"2fort", "2FORT", "well", "well.x", "a", ""}) {
        available.Insert(name, MapState::Installed);
    }
    MapList chosen;
    ReadVoteMapEntries(paths, available, chosen);
    if (chosen.Count() > available.Count()) {
        fuzz::Violated("more chosen maps than available ones");
    }
    return 0;
}

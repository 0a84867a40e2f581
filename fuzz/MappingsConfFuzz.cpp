// mappings.conf: where the files and folders of an unpacked package go.
#include "FuzzSupport.h"
#include "catalogue/WorkingPaths.h"
#include "install/InstallMappings.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write(kMappingsFileName, fuzz::AsText(data, size));
    WorkingPaths paths;
    paths.installDir = "/game/Sierra/Half-Life";
    paths.modWorkDir = scratch.Folder();
    InstallMappings mappings;
    LoadMappings(mappings, paths);
    for (const char* name : {"2fort.bsp", "readme", "x.", ".wad"}) {
        mappings.MapFile(name);
    }
    for (const char* name : {"sound", "SOUND", ""}) {
        mappings.MapDirectory(name);
    }
    return 0;
}

// config.conf, the installed map and entity versions of a mod.
#include "FuzzSupport.h"
#include "catalogue/WorkingPaths.h"
#include "updates/VersionTable.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write(kVersionFileName, fuzz::AsText(data, size));
    WorkingPaths paths;
    paths.modWorkDir = scratch.Folder();
    VersionTable table;
    LoadVersionTable(table, paths);
    for (const VersionEntry& entry : table.Entries()) {
        const VersionEntry* found = table.Find(entry.key);
        if (found == nullptr) {
            fuzz::Violated("a loaded key is not found again");
        }
        table.MapVersionGap(entry.key, INT32_MIN);
        table.EntityVersionGap(entry.key, INT32_MAX);
    }
    return 0;
}

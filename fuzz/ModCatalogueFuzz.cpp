// modsupdate.cfg as the update catalogue reads it: new addresses taken over, installed mods
// learnt, newer mod packages listed. A listed package must be saved in the working folder.
#include "FuzzSupport.h"
#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/ModUpdates.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("Ballotine/" + std::string(kModUpdateListName), fuzz::AsText(data, size));
    scratch.Write("tfc/liblist.gam", "game \"Team Fortress Classic\"\n");
    scratch.Write("dmc/liblist.gam", "game \"Deathmatch Classic\"\n");
    WorkingPaths paths;
    paths.installDir = scratch.Path().string();
    ComputeWorkDir(paths);
    ModTable mods;
    mods.records.push_back({"tfc", 1, "Team Fortress Classic", "http://127.0.0.1/tfc"});
    AvailableDownloads downloads;
    CatalogueTree tree(downloads);
    LoadModUpdates(mods, paths, downloads, tree, [](const std::string&) {});
    for (const DownloadItem& item : downloads.Queue()) {
        const std::string& local = item.localPath;
        const std::string name = local.substr(std::min(local.size(), paths.workDir.size()));
        if (!local.starts_with(paths.workDir) || name.find('/') != std::string::npos) {
            fuzz::Violated("a mod package would be saved outside the working folder");
        }
    }
    return 0;
}

// modsupdate.cfg as the update catalogue reads it: new addresses taken over, installed mods
// learnt, newer mod packages listed. A listed package must be saved in the working folder.
#include "FuzzSupport.h"
#include "catalogue/ModTable.h"
#include "platform/ToolRunner.h"
#include "updates/CatalogueTree.h"
#include "updates/ModUpdates.h"
#include "updates/ResourceList.h"
#include "updates/UpdateRoad.h"

using namespace ballotine;

namespace {

// The catalogue is only read here: nothing is run or downloaded.
class NoTools : public ToolRunner {
public:
    ToolRun RunTool(const std::filesystem::path&, const std::vector<std::string>&,
                    const std::filesystem::path&) override {
        return {};
    }
    bool StartDetached(const std::filesystem::path&, const std::vector<std::string>&) override {
        return false;
    }
};
class NoDownloads : public DownloadRunner {
public:
    int RunQueue(DownloadQueue&, bool) override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("Ballotine/" + std::string(kModUpdateListName), fuzz::AsText(data, size));
    scratch.Write("tfc/liblist.gam", "game \"Team Fortress Classic\"\n");
    scratch.Write("dmc/liblist.gam", "game \"Deathmatch Classic\"\n");
    ResourceListRequest request;
    request.paths.installDir = scratch.Path().string();
    ComputeWorkDir(request.paths);
    ModTable mods;
    mods.records.push_back({"tfc", 1, "Team Fortress Classic", "http://127.0.0.1/tfc"});
    UpdateTables tables;
    fuzz::SilentPrompter prompter;
    NoTools tools;
    NoDownloads downloader;
    UpdateRoad road{tables.downloads, tables.versions, tables.mappings, tables.log,
                    prompter,         tools,           downloader,      [](const std::string&) {}};
    CatalogueTree tree(tables.downloads);
    LoadModUpdates(mods, request, road, tree);
    for (std::int32_t i = 0; i < tables.downloads.Count(); ++i) {
        const std::string& local = tables.downloads.At(i).localPath;
        const std::string name = local.substr(std::min(local.size(), request.paths.workDir.size()));
        if (!local.starts_with(request.paths.workDir) || name.find('/') != std::string::npos) {
            fuzz::Violated("a mod package would be saved outside the working folder");
        }
    }
    return 0;
}

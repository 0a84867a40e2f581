// The update catalogue built from update.conf: every package newer than the version record,
// under its category, and the tree's check marks and totals over them. What a server lists
// must never name a download outside the mod's package folder.
#include "FuzzSupport.h"
#include "catalogue/WorkingPaths.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/UpdateCatalogue.h"
#include "updates/VersionTable.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    WorkingPaths paths;
    paths.installDir = scratch.Path().string();
    ComputeWorkDir(paths);
    ComputeModPaths(paths, "tfc");
    scratch.Write("Ballotine/tfc/" + std::string(kMapUpdateListName), fuzz::AsText(data, size));
    VersionTable versions;
    versions.Append({"2fort", 1, 1});
    versions.Append({"well", 0, 2});
    AvailableDownloads downloads;
    CatalogueTree tree(downloads);
    BuildUpdateTree(paths, versions, downloads, tree, [](const std::string&) {});

    const std::string packages = paths.modWorkDir + "mapzips/";
    for (const DownloadItem& item : downloads.Queue()) {
        const std::string& local = item.localPath;
        const std::string name = local.substr(std::min(local.size(), packages.size()));
        if (!local.starts_with(packages) || !IsPlainName(name)) {
            fuzz::Violated("a listed package would be saved outside the package folder");
        }
    }
    for (const Category category : kCategories) {
        tree.ToggleCheck({category, -1});
        tree.RefreshCheckMarks();
        tree.Details({category, -1});
        if (!tree.Packages(category).empty()) {
            tree.Details({category, 0});
        }
    }
    tree.UpdateSelectionTotals();
    if (tree.SelectedCount() != tree.PackageCount() || tree.SelectedBytes() < 0) {
        fuzz::Violated("checking every category did not select every package");
    }
    return 0;
}

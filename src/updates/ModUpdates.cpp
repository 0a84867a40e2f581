#include "updates/ModUpdates.h"

#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"

namespace ballotine {

namespace {

void ListModPackage(const ModUpdateRecord& record, const WorkingPaths& paths,
                    AvailableDownloads& downloads, CatalogueTree& tree) {
    DownloadItem item;
    item.name = record.packageTitle;
    item.url = record.packageUrl;
    item.mirrorUrl = ListedAddress(record.packageMirrorUrl);
    item.localPath = paths.workDir + record.dir + ".zip";
    item.size = record.size;
    item.version = record.version;
    item.packageKey = "*" + record.dir;
    item.fullPackage = true;
    tree.AddPackage(Category::BallotineUpdates, downloads.Append(item));
}

// An empty line would make the address unusable for good once the mod list is saved: an empty
// answer from the server does not replace one.
void TakeAddress(std::string& address, const std::string& offered) {
    if (!offered.empty()) {
        address = offered;
    }
}

} // namespace

bool LoadModUpdates(ModTable& mods, const WorkingPaths& paths, AvailableDownloads& downloads,
                    CatalogueTree& tree, const DebugLog& log) {
    if (paths.workDir.empty()) {
        return false;
    }
    const auto list = ReadCheckedModUpdateList(paths.workDir + kModUpdateListName, log);
    if (!list) {
        return false;
    }
    TakeAddress(mods.modListUrl, list->modListUrl);
    for (const ModUpdateRecord& record : list->records) {
        const bool installed = FolderExists(paths.installDir + kSeparator + record.dir);
        const std::int32_t known = mods.FindModByDir(record.dir);
        if (known >= 0) {
            ModRecord& mod = mods.records[static_cast<std::size_t>(known)];
            TakeAddress(mod.baseUrl, record.baseUrl);
            if (record.version > mod.version && installed) {
                ListModPackage(record, paths, downloads, tree);
            }
        } else if (installed) {
            // Learnt with version 0: not offered in the selector until its package is installed.
            ListModPackage(record, paths, downloads, tree);
            mods.records.push_back(
                ModRecord{record.dir, 0, record.modTitle, record.baseUrl, false});
        }
    }
    tree.SortPackages();
    return true;
}

} // namespace ballotine

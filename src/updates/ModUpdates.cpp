#include "updates/ModUpdates.h"

#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"
#include "download/WebAddress.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"

#include <optional>
#include <utility>

namespace ballotine {

namespace {

void ListModPackage(const ModUpdateRecord& record, const WorkingPaths& paths, AddressOrigin origin,
                    AvailableDownloads& downloads, CatalogueTree& tree) {
    DownloadItem item;
    item.origin = origin;
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

// An address the list offers, unless a list fetched over the network offers a local one: the
// next check would read that file as a list, and follow its local addresses.
std::optional<std::string> AcceptedAddress(const std::string& offered, AddressOrigin listOrigin,
                                           const DebugLog& log) {
    if (listOrigin == AddressOrigin::RemoteList && !IsWebAddress(offered)) {
        if (log) {
            log("modsupdate.cfg: address '" + offered + "' not taken, it is not a web address");
        }
        return std::nullopt;
    }
    return offered;
}

// An empty line would make the address unusable for good once the mod list is saved: an empty
// answer from the server does not replace one.
void TakeAddress(std::string& address, const std::string& offered, AddressOrigin listOrigin,
                 const DebugLog& log) {
    if (offered.empty()) {
        return;
    }
    if (auto accepted = AcceptedAddress(offered, listOrigin, log)) {
        address = std::move(*accepted);
    }
}

} // namespace

bool LoadModUpdates(ModTable& mods, const WorkingPaths& paths, AvailableDownloads& downloads,
                    CatalogueTree& tree, const DebugLog& log, AddressOrigin listOrigin) {
    if (paths.workDir.empty()) {
        return false;
    }
    const auto list = ReadCheckedModUpdateList(paths.workDir + kModUpdateListName, log);
    if (!list) {
        return false;
    }
    TakeAddress(mods.modListUrl, list->modListUrl, listOrigin, log);
    for (const ModUpdateRecord& record : list->records) {
        const bool installed = FolderExists(paths.installDir + kSeparator + record.dir);
        const std::int32_t known = mods.FindModByDir(record.dir);
        if (known >= 0) {
            ModRecord& mod = mods.records[static_cast<std::size_t>(known)];
            TakeAddress(mod.baseUrl, record.baseUrl, listOrigin, log);
            if (record.version > mod.version && installed) {
                ListModPackage(record, paths, listOrigin, downloads, tree);
            }
        } else if (installed) {
            // Learnt with version 0: not offered in the selector until its package is installed.
            ListModPackage(record, paths, listOrigin, downloads, tree);
            mods.records.push_back(ModRecord{
                record.dir, 0, record.modTitle,
                AcceptedAddress(record.baseUrl, listOrigin, log).value_or(std::string()), false});
        }
    }
    tree.SortPackages();
    return true;
}

} // namespace ballotine

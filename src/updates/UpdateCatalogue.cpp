#include "updates/UpdateCatalogue.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "platform/Paths.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/VersionTable.h"

#include <unordered_set>

namespace ballotine {

namespace {

constexpr std::int32_t kNewForRevisions = 5;

// A package is stored under its address's file name. Two packages of one name would share the
// download file, and the last one downloaded would be installed for both: a later one is
// stored under its key too.
std::string StoredName(const MapRecord& record, const std::string& url,
                       std::unordered_set<std::string>& taken) {
    const std::string name = FileNameOf(url);
    std::string stored = name;
    for (int n = 1; !taken.insert(ToLowerAscii(stored)).second; ++n) {
        stored = record.key + (n == 1 ? "" : std::to_string(n)) + "-" + name;
    }
    return stored;
}

DownloadItem PackageItem(const MapRecord& record, bool map, const WorkingPaths& paths,
                         std::unordered_set<std::string>& storedNames, AddressOrigin origin) {
    DownloadItem item;
    item.origin = origin;
    item.name = map ? record.mapTitle : record.entityTitle;
    item.url = map ? record.mapUrl : record.entityUrl;
    item.mirrorUrl = ListedAddress(map ? record.mapMirrorUrl : record.entityMirrorUrl);
    item.localPath =
        paths.modWorkDir + "mapzips" + kSeparator + StoredName(record, item.url, storedNames);
    item.size = map ? record.mapSize : record.entitySize;
    item.version = map ? record.mapVersion : record.entityVersion;
    item.packageKey = record.key;
    item.fullPackage = map;
    return item;
}

Category MapCategory(const MapRecord& record, std::int32_t listRevision,
                     const VersionTable& versions) {
    if (versions.MapVersionGap(record.key, 1) >= 0) {
        return Category::FullMapUpdates; // the map is present
    }
    return std::int64_t{record.addedRevision} + kNewForRevisions > listRevision
               ? Category::NewMaps
               : Category::DownloadableMaps;
}

void ListPackage(const DownloadItem& item, Category category, AvailableDownloads& downloads,
                 CatalogueTree& tree) {
    tree.AddPackage(category, downloads.Append(item));
}

} // namespace

void BuildUpdateTree(const WorkingPaths& paths, const VersionTable& versions,
                     AvailableDownloads& downloads, CatalogueTree& tree, const DebugLog& log,
                     AddressOrigin listOrigin) {
    if (!paths.HasMod()) {
        return;
    }
    const auto list = ReadCheckedMapUpdateList(paths.modWorkDir + kMapUpdateListName, log);
    if (!list) {
        return;
    }
    std::unordered_set<std::string> storedNames;
    for (const MapRecord& record : list->records) {
        if (record.mapVersion > 0 && versions.MapVersionGap(record.key, record.mapVersion) < 0) {
            ListPackage(PackageItem(record, true, paths, storedNames, listOrigin),
                        MapCategory(record, list->listRevision, versions), downloads, tree);
        }
        // Offered whether or not the map itself is present or listed.
        if (record.entityVersion != 0 &&
            versions.EntityVersionGap(record.key, record.entityVersion) < 0) {
            ListPackage(PackageItem(record, false, paths, storedNames, listOrigin),
                        Category::EntityUpdates, downloads, tree);
        }
    }
    tree.SortPackages();
}

} // namespace ballotine

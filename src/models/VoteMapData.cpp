#include "models/VoteMapData.h"

#include "common/Text.h"
#include "download/DownloadQueue.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/InstallQueue.h"
#include "install/Placement.h"
#include "models/UpdateRoad.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "updates/UpdateCatalogue.h"

namespace ballotine {

namespace {

bool HasVoteSprite(const WorkingPaths& paths, const std::string& key) {
    return OpenForReading(paths.voteSpriteDir + key + ".spr").has_value();
}

// Its data package, pending; its address is its own mirror (a second try).
DownloadItem VoteDataPackage(const ResourceListRequest& request, const std::string& key) {
    DownloadItem item;
    item.name = Format("%s votemap data...", key.c_str());
    item.url = request.baseUrl + "/voteVM/" + key + "VM.zip";
    item.mirrorUrl = item.url;
    item.localPath = request.paths.modWorkDir + "mapzips" + kSeparator + key + "VM.zip";
    item.status = DownloadStatus::Pending;
    // the scheme is the mod's base address, from the user's settings, whatever the list says
    item.origin = AddressOrigin::LocalList;
    return item;
}

// Unpacks and places a downloaded package; true when it was placed.
bool InstallVoteDataPackage(const DownloadItem& item, const ResourceListRequest& request,
                            UpdateRoad& road) {
    const auto baseName = PackageBaseName(item.localPath);
    if (!baseName) {
        return false;
    }
    InstallLog noLog; // this step keeps no report
    const ExtractionSetup setup{request.paths, request.modDir, road.runner};
    if (!ExtractPackage(item.localPath, *baseName, setup, noLog)) {
        return false;
    }
    const std::string folder = request.paths.modWorkDir + "mapzips" + kSeparator + *baseName;
    const bool placed = PlaceContents(folder, road.mappings, request.paths, noLog);
    DeleteTree(folder, noLog);
    return placed;
}

} // namespace

std::int32_t FetchVoteMapData(const ResourceListRequest& request, UpdateRoad& road) {
    const WorkingPaths& paths = request.paths;
    if (!paths.HasMod()) {
        return 0;
    }
    const auto list =
        ReadCheckedMapUpdateList(paths.modWorkDir + kMapUpdateListName, road.debugLog);
    if (!list) {
        return 0;
    }
    DownloadQueue queue;
    for (const MapRecord& record : list->records) {
        if (record.hasVoteData != 0 && !HasVoteSprite(paths, record.key)) {
            queue.push_back(VoteDataPackage(request, record.key));
        }
    }
    if (queue.empty()) {
        return 0;
    }
    // A working folder without its packages folder would fail every download.
    CreateFolders(paths.modWorkDir + "mapzips");
    if (road.downloader.RunQueue(queue, false) != DownloadRunResult::WorkedThrough) {
        return 0; // cancelled or no connection: nothing is installed
    }
    LoadMappings(road.mappings, paths);
    std::int32_t installed = 0;
    for (DownloadItem& item : queue) {
        if (item.status == DownloadStatus::Downloaded &&
            InstallVoteDataPackage(item, request, road)) {
            item.status = DownloadStatus::Installed;
            ++installed;
        }
    }
    return installed;
}

} // namespace ballotine

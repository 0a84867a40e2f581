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

void AppendVoteDataPackage(DownloadQueue& queue, const ResourceListRequest& request,
                           const std::string& key) {
    const std::string url = request.baseUrl + "/voteVM/" + key + "VM.zip";
    queue.Append(Format("%s votemap data...", key.c_str()), url, url,
                 request.paths.modWorkDir + "mapzips" + kSeparator + key + "VM.zip", -1, 0, "NA",
                 false);
}

// Unpacks and places the current item; true when it was placed.
bool InstallVoteDataPackage(const DownloadQueue& queue, const ResourceListRequest& request,
                            UpdateRoad& road) {
    const auto baseName = PackageBaseName(queue.GetLocalPath());
    if (!baseName) {
        return false;
    }
    InstallLog noLog; // this step keeps no report
    const ExtractionSetup setup{request.paths, request.modDir, road.runner};
    if (!ExtractPackage(queue.GetLocalPath(), *baseName, setup, noLog)) {
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
            AppendVoteDataPackage(queue, request, record.key);
        }
    }
    if (queue.GetCount() == 0) {
        return 0;
    }
    for (std::size_t index = 0; queue.MoveTo(index); ++index) {
        queue.SetStatus(StatusPending);
    }
    // A working folder without its packages folder would fail every download.
    CreateFolders(paths.modWorkDir + "mapzips");
    if (road.downloader.RunQueue(queue, false) != 1) {
        return 0; // cancelled or no connection: nothing is installed
    }
    LoadMappings(road.mappings, paths);
    std::int32_t installed = 0;
    for (std::size_t index = 0; queue.MoveTo(index); ++index) {
        if (queue.GetStatus() == StatusDownloaded && InstallVoteDataPackage(queue, request, road)) {
            queue.SetStatus(StatusInstalled);
            ++installed;
        }
    }
    return installed;
}

} // namespace ballotine

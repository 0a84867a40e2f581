#pragma once

#include "catalogue/WorkingPaths.h"
#include "download/DownloadQueue.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "updates/AvailableDownloads.h"
#include "updates/UpdateListNames.h"
#include "updates/VersionTable.h"

#include <optional>
#include <string>

namespace ballotine {

class Prompter;
class ToolRunner;
struct Session;

// Downloads the pending items of a queue and waits until that is over: the window runs its
// progress dialog, the command line its progress line.
class DownloadRunner {
public:
    virtual ~DownloadRunner() = default;
    virtual DownloadRunResult RunQueue(DownloadQueue& queue, bool allowSkip) = 0;
};

// The tables of the update road that live for the whole run: the program owns one set.
struct UpdateTables {
    AvailableDownloads downloads;
    VersionTable versions;
    InstallMappings mappings;
    InstallLog log;
};

// What the update road works with beyond the opened mod. The program owns every part: the
// catalogue's queue, the version record and the mappings live from one opening to the next.
struct UpdateRoad {
    AvailableDownloads& downloads;
    VersionTable& versions;
    InstallMappings& mappings;
    InstallLog& log;
    Prompter& prompter;
    ToolRunner& runner;
    DownloadRunner& downloader;
    DebugLog debugLog;
    // Open "update.log" in the desktop's viewer after an installation (a terminal prints its
    // path instead).
    bool showLog = true;
};

// What the main window hands to the update list when it opens it: copies of the selected
// mod's title, folder name and base address, of the mod list address and of the paths.
struct ResourceListRequest {
    std::string modTitle;
    std::string modDir;
    std::string baseUrl;
    std::string modListUrl;
    WorkingPaths paths;
};

// The request for the selected mod; nothing when no mod is selected (there is then no base
// address to fetch from and the update list is not opened).
std::optional<ResourceListRequest> MakeResourceListRequest(const Session& session);

} // namespace ballotine

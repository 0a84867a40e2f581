#include "models/ResourceList.h"

#include "catalogue/ModTable.h"
#include "catalogue/Session.h"
#include "common/Text.h"
#include "download/DownloadQueue.h"
#include "download/WebAddress.h"
#include "models/VoteMapData.h"
#include "platform/FileSystem.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "updates/AvailableDownloads.h"
#include "updates/ModUpdates.h"
#include "updates/UpdateCatalogue.h"
#include "updates/VersionTable.h"

#include <algorithm>

namespace ballotine {

namespace {

// The two items of the lists' queue.
constexpr std::size_t kMapListItem = 0;
constexpr std::size_t kModListItem = 1;

// The lists' addresses are the user's own settings (a list fetched over the network may not set
// a local one), so they may be local.
DownloadItem PendingList(const char* name, const std::string& url, const std::string& localPath) {
    DownloadItem item;
    item.name = name;
    item.url = url;
    item.localPath = localPath;
    item.status = DownloadStatus::Pending;
    item.origin = AddressOrigin::LocalList;
    return item;
}

std::string MapListUrl(const ResourceListRequest& request) {
    return request.baseUrl + "/database.conf";
}

} // namespace

std::optional<ResourceListRequest> MakeResourceListRequest(const Session& session) {
    if (!session.selector.HasSelection() || !session.paths.HasMod()) {
        return std::nullopt;
    }
    const std::string title = session.selector.SelectedText();
    const std::int32_t index = session.mods.FindModByTitle(title);
    if (index < 0) {
        return std::nullopt;
    }
    const ModRecord& mod = session.mods.records[static_cast<std::size_t>(index)];
    return ResourceListRequest{title, mod.dir, mod.baseUrl, session.mods.modListUrl, session.paths};
}

ResourceList::ResourceList(ResourceListRequest request, ModTable& mods, UpdateRoad& road)
    : m_request(std::move(request)), m_mods(mods), m_road(road), m_tree(road.downloads) {}

std::string ResourceList::Caption() const {
    return Format(kResourceListCaption, m_request.modTitle.c_str());
}

bool ResourceList::FetchLists(DownloadQueue& lists) {
    const WorkingPaths& paths = m_request.paths;
    lists.push_back(PendingList("Entity Config List...", MapListUrl(m_request),
                                paths.modWorkDir + kMapUpdateListName));
    lists.push_back(
        PendingList("Master Map...", m_request.modListUrl, paths.workDir + kModUpdateListName));
    if (m_road.downloader.RunQueue(lists, false) != DownloadRunResult::WorkedThrough) {
        m_road.prompter.ShowMessage(kListDownloadCancelledMessage);
        return false;
    }
    const auto mapList = QueryFile(paths.modWorkDir + kMapUpdateListName);
    if (lists[kMapListItem].status != DownloadStatus::Downloaded || !mapList || mapList->isFolder ||
        mapList->size < kSmallestMapUpdateList) {
        m_road.prompter.ShowMessage(kListNotDownloadedMessage);
        return false;
    }
    return true;
}

// Asks before each ticked mod package: it may bring code the game runs. A declined one is
// neither downloaded nor installed.
void ResourceList::ConfirmModPackages() {
    DownloadQueue& queue = m_road.downloads.Queue();
    for (std::size_t index = 0; index < queue.size(); ++index) {
        const DownloadItem& item = queue[index];
        if (item.status == DownloadStatus::Pending && item.packageKey.starts_with('*') &&
            !m_road.prompter.AskYesNo(
                Format(kModPackageQuestion, item.name.c_str(), item.packageKey.c_str() + 1))) {
            m_road.downloads.SetStatus(index, DownloadStatus::None);
        }
    }
}

ResourceList::Opening ResourceList::Open() {
    // Fetching the lists, installing vote data and marking the maps on disk all write.
    const auto lock = LockGameForWriting(m_request.paths.workDir, "updates", m_road.prompter);
    if (!lock) {
        return Opening::Cancelled;
    }
    DownloadQueue lists;
    if (!FetchLists(lists)) {
        return Opening::Cancelled;
    }
    m_road.downloads.Clear();
    FetchVoteMapData(m_request, m_road);
    if (lists[kModListItem].status == DownloadStatus::Downloaded) {
        LoadModUpdates(m_mods, m_request.paths, m_road.downloads, m_tree, m_road.debugLog,
                       OriginOfList(m_request.modListUrl));
    }
    if (!LoadVersionTable(m_road.versions, m_request.paths)) {
        return Opening::CategoriesOnly;
    }
    ScanInstalledMaps(m_road.versions, m_request.paths);
    BuildUpdateTree(m_request.paths, m_road.versions, m_road.downloads, m_tree, m_road.debugLog,
                    OriginOfList(MapListUrl(m_request)));
    m_tree.UpdateSelectionTotals();
    return Opening::Listed;
}

bool ResourceList::Download() {
    // A double click less than one refresh period ago still counts, its cascade included.
    m_tree.RefreshCheckMarks();
    m_tree.ApplyCheckStates(m_road.downloads);
    m_tree.UpdateSelectionTotals();
    if (m_tree.SelectedCount() == 0) {
        return false;
    }
    ConfirmModPackages();
    const auto pending = [](const DownloadItem& item) {
        return item.status == DownloadStatus::Pending;
    };
    if (std::ranges::none_of(m_road.downloads.Queue(), pending)) {
        return false;
    }
    const auto lock = LockGameForWriting(m_request.paths.workDir, "install", m_road.prompter);
    if (!lock) {
        return false;
    }
    CreateFolders(m_request.paths.modWorkDir + "mapzips");
    m_road.downloader.RunQueue(m_road.downloads.Queue(), true);
    InstallContext context{m_request.paths, m_request.modDir, m_mods,       m_road.mappings,
                           m_road.log,      m_road.prompter,  m_road.runner};
    context.showLog = m_road.showLog;
    m_installed = InstallQueue(m_road.downloads.Queue(), context);
    // What another run recorded since the list opened stays: the record is read anew first.
    VersionTable current;
    if (LoadVersionTable(current, m_request.paths)) {
        m_road.versions = std::move(current);
    }
    RecordInstalledVersions(m_road.versions, m_road.downloads.Queue(), m_request.paths);
    return true;
}

} // namespace ballotine

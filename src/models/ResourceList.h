#pragma once

#include "install/InstallQueue.h"
#include "models/UpdateRoad.h"
#include "updates/CatalogueTree.h"

#include <cstdint>
#include <string>

namespace ballotine {

struct ModTable;

inline constexpr const char* kResourceListCaption = "New '%s' Downloads...";
inline constexpr const char* kListDownloadCancelledMessage =
    "Unable to download config list. Retry again later...";
inline constexpr const char* kListNotDownloadedMessage =
    "Unable to download config list. Retry later...";
inline constexpr const char* kModPackageQuestion =
    "'%s' updates the mod '%s': it may replace program files the game runs.\n"
    "Install it only from an update server you trust. Install it?";
// A map update list this small is an error page, not a list.
inline constexpr std::uint64_t kSmallestMapUpdateList = 257;

// The update list dialog without its window: fetches the two update lists, installs missing
// vote map data, reads the mod updates and lists the newer packages; then downloads and
// installs the checked ones. The window and the command line drive it; messages go through
// the road's prompter.
class ResourceList {
public:
    enum class Opening {
        Cancelled,      // a list could not be fetched; its message was shown
        CategoriesOnly, // no version record: at most mod packages, nothing can be downloaded
        Listed,         // the catalogue is complete; check marks are refreshed from now on
    };

    ResourceList(ResourceListRequest request, ModTable& mods, UpdateRoad& road);

    // "New '<mod title>' Downloads...".
    std::string Caption() const;
    const ResourceListRequest& Request() const { return m_request; }

    // The opening sequence, from fetching the lists to the first selection total, under the
    // game's writer lock (Cancelled, silently, when the user gave up waiting for it).
    Opening Open();

    CatalogueTree& Tree() { return m_tree; }
    const CatalogueTree& Tree() const { return m_tree; }

    // "Download...": the check states become the queue's statuses (a check change still
    // waiting for the refresh is applied first); with nothing checked, false and nothing else
    // happens. Each checked mod package is confirmed first (kModPackageQuestion); when none is
    // left, or the user gave up waiting for the game's writer lock, false. Otherwise, under
    // that lock, the checked packages are downloaded and then installed, whatever the
    // download's outcome, the installed versions are added to the record as it is on disk
    // then, and true is returned.
    bool Download();
    // The installation's count of failed items, after Download.
    std::int32_t FailedCount() const { return m_installed.failed; }
    // Whether Download installed a mod package: the mod list must be read anew.
    bool ModInstalled() const { return m_installed.modInstalled; }

private:
    bool FetchLists(DownloadQueue& lists);
    void ConfirmModPackages();

    ResourceListRequest m_request;
    ModTable& m_mods;
    UpdateRoad& m_road;
    CatalogueTree m_tree;
    InstallResult m_installed;
};

} // namespace ballotine

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// What became of an item; the only channel between catalogue, downloader and installer.
enum class DownloadStatus {
    None,       // not selected
    Pending,    // selected, waits for download
    Downloaded, // arrived completely
    Failed,     // no usable file
    Installed,  // the installer placed it
};

// Where an item's addresses were read. A list fetched over the network may name only web
// addresses: following its file:// address would copy any file the user can read into the
// game (from where a server hands files out). A list read from the local disk, or the user's
// own settings, may name local files too.
enum class AddressOrigin {
    RemoteList, // the safe default: http:// and https:// only
    LocalList,
};

// One file to fetch and install. Texts are kept whole, whatever their length.
struct DownloadItem {
    std::string name;       // shown while it downloads; the catalogue's title of the package
    std::string packageKey; // the map key, "*<folder>" for a mod package; empty for the lists
    std::string url;
    std::optional<std::string> mirrorUrl; // tried when `url` does not open
    std::string localPath;
    std::int32_t version = 0;
    std::int64_t size = -1; // bytes; 0 or less when not known
    DownloadStatus status = DownloadStatus::None;
    bool fullPackage = false; // a map package, not an entity package
    AddressOrigin origin = AddressOrigin::RemoteList;
    std::string failure;    // why a failed download failed, in words for the user
    std::string toolReason; // why it was not installed: the zip tool's words, or the placing's
};

// The files of one download run, in the order they are fetched and installed.
using DownloadQueue = std::vector<DownloadItem>;

// How a run over a queue ended.
enum class DownloadRunResult {
    NotRun,        // it has not started
    WorkedThrough, // every pending item was tried (said from the start of the run on)
    Cancelled,     // "Cancel All" or an interrupt, or no connection could be made
};

} // namespace ballotine

#include "catalogue/GameFolders.h"

#include "catalogue/SteamLibraries.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

#include <algorithm>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

constexpr const char* kGameMarkerFolders[] = {"valve", "Ballotine"};
// The game's program, and the dedicated server's (hlds_run starts hlds_linux).
constexpr const char* kGamePrograms[] = {"hl_linux", "hlds_linux", "hlds_run", "hl.sh", "hl.exe"};

constexpr const char* kGameBelowSteamRoot = "steamapps/common/Half-Life";

// Steam installs relative to the home folder: native Steam (and the links it keeps in
// ~/.steam), Flatpak, Snap, and SteamCMD as Valve's archive, Debian's package and the server
// managers set it up.
constexpr const char* kSteamRoots[] = {
    ".steam/steam",
    ".steam/root",
    ".local/share/Steam",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam",
    ".var/app/com.valvesoftware.Steam/data/Steam",
    "snap/steam/common/.local/share/Steam",
    "Steam",
    "steamcmd",
    ".steam/steamcmd",
};
// Where Steam keeps its list of libraries, below a root.
constexpr const char* kLibraryLists[] = {"steamapps/libraryfolders.vdf",
                                         "config/libraryfolders.vdf"};
// Dedicated servers installed into a folder of their own, as server guides and managers name
// it.
constexpr const char* kServerFolders[] = {"serverfiles", "hlds", "hlds_l", "hlserver"};

std::vector<fs::path> LibrariesOf(const fs::path& steamRoot) {
    std::vector<fs::path> libraries;
    for (const char* list : kLibraryLists) {
        const fs::path file = steamRoot / list;
        const std::optional<FileStatus> status = QueryFile(file);
        if (!status || status->isFolder || status->size > kLongestLibraryList) {
            continue;
        }
        if (const auto text = ReadWholeFile(file)) {
            for (fs::path& library : ParseLibraryFolders(*text)) {
                libraries.push_back(std::move(library));
            }
        }
    }
    return libraries;
}

std::vector<fs::path> Candidates(const fs::path& home) {
    std::vector<fs::path> candidates;
    for (const char* root : kSteamRoots) {
        candidates.push_back(home / root / kGameBelowSteamRoot);
    }
    for (const char* root : kSteamRoots) {
        for (const fs::path& library : LibrariesOf(home / root)) {
            candidates.push_back(library / kGameBelowSteamRoot);
        }
    }
    for (const char* server : kServerFolders) {
        candidates.push_back(home / server);
    }
    return candidates;
}

} // namespace

bool LooksLikeGameFolder(const fs::path& folder) {
    const FolderListing listing = FolderListing::Read(folder);
    for (const char* marker : kGameMarkerFolders) {
        const FolderEntry* entry = listing.Find(marker);
        if (entry != nullptr && entry->isFolder) {
            return true;
        }
    }
    for (const char* program : kGamePrograms) {
        const FolderEntry* entry = listing.Find(program);
        if (entry != nullptr && !entry->isFolder) {
            return true;
        }
    }
    return false;
}

std::string MissingGameParts(const fs::path& folder) {
    if (LooksLikeGameFolder(folder)) {
        return {};
    }
    std::string programs;
    for (const char* program : kGamePrograms) {
        programs += std::string(programs.empty() ? "" : ", ") + program;
    }
    return "it holds no valve folder, no game program (" + programs + ") and no Ballotine folder";
}

std::vector<fs::path> FindGameFolders(const fs::path& home) {
    std::vector<fs::path> found;
    std::vector<fs::path> seen; // ~/.steam/steam and ~/.local/share/Steam are often one folder
    for (const fs::path& game : Candidates(home)) {
        std::error_code error;
        const fs::path canonical = fs::canonical(game, error);
        if (error || std::find(seen.begin(), seen.end(), canonical) != seen.end()) {
            continue;
        }
        seen.push_back(canonical);
        if (LooksLikeGameFolder(game)) {
            found.push_back(game);
        }
    }
    return found;
}

} // namespace ballotine

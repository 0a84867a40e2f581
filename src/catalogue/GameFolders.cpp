#include "catalogue/GameFolders.h"

#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

#include <algorithm>

namespace ballotine {
namespace fs = std::filesystem;

bool LooksLikeGameFolder(const fs::path& folder) {
    const FolderListing listing = FolderListing::Read(folder);
    for (const char* marker : {"valve", "Ballotine"}) {
        const FolderEntry* entry = listing.Find(marker);
        if (entry != nullptr && entry->isFolder) {
            return true;
        }
    }
    for (const char* program : {"hl_linux", "hl.sh", "hl.exe"}) {
        const FolderEntry* entry = listing.Find(program);
        if (entry != nullptr && !entry->isFolder) {
            return true;
        }
    }
    return false;
}

std::vector<fs::path> ParseLibraryFolders(const std::string& vdfText) {
    // Lines look like:  "path"		"/home/me/SteamLibrary"
    std::vector<fs::path> folders;
    std::size_t pos = 0;
    while ((pos = vdfText.find("\"path\"", pos)) != std::string::npos) {
        pos += 6;
        const std::size_t open = vdfText.find('"', pos);
        const std::size_t lineEnd = vdfText.find('\n', pos);
        if (open == std::string::npos || (lineEnd != std::string::npos && open > lineEnd)) {
            continue;
        }
        const std::size_t close = vdfText.find('"', open + 1);
        if (close == std::string::npos) {
            break;
        }
        std::string value = vdfText.substr(open + 1, close - open - 1);
        // Steam escapes backslashes in its files
        std::string unescaped;
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') {
                ++i;
            }
            unescaped += value[i];
        }
        folders.emplace_back(unescaped);
        pos = close + 1;
    }
    return folders;
}

std::vector<fs::path> FindSteamGameFolders(const fs::path& home) {
    const std::vector<fs::path> steamRoots = {
        home / ".steam/steam",
        home / ".steam/root",
        home / ".local/share/Steam",
        home / ".var/app/com.valvesoftware.Steam/.local/share/Steam",
        home / "snap/steam/common/.local/share/Steam",
    };
    std::vector<fs::path> libraries = steamRoots;
    for (const fs::path& root : steamRoots) {
        if (const auto vdf = ReadWholeFile(root / "steamapps/libraryfolders.vdf")) {
            for (const fs::path& library : ParseLibraryFolders(*vdf)) {
                libraries.push_back(library);
            }
        }
    }
    std::vector<fs::path> found;
    std::vector<fs::path> seen; // the same library is often reachable by several links
    for (const fs::path& library : libraries) {
        const fs::path game = library / "steamapps/common/Half-Life";
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

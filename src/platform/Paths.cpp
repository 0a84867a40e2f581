#include "platform/Paths.h"

#include "BuildInfo.h"
#include "common/Text.h"

#include <dirent.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

bool ExistsNoFollow(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// Finds `name` in `folder` without regard to case; the smallest matching spelling wins so
// the choice does not depend on the folder's order. The entries are compared as they are read:
// making a path of each cost a download of 200 packages into one folder a tenth of its time.
bool FindSpelling(const fs::path& folder, const fs::path& name, fs::path& spelling) {
    const std::unique_ptr<DIR, FolderCloser> listing(
        ::opendir(folder.empty() ? "." : folder.c_str()));
    if (!listing) {
        return false;
    }
    const std::string& wanted = name.native();
    std::string best;
    bool found = false;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view candidate(entry->d_name);
        if (EqualsNoCase(candidate, wanted) && (!found || candidate < best)) {
            best = candidate;
            found = true;
        }
    }
    if (found) {
        spelling = best;
    }
    return found;
}

} // namespace

std::string ToNativeSeparators(std::string_view path) {
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') {
            c = kSeparator;
        }
    }
    return native;
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string text(path);
    if (text.empty() || text.back() != kSeparator) {
        text.push_back(kSeparator);
    }
    return text;
}

fs::path ResolveCase(const fs::path& path) {
    if (path.empty() || ExistsNoFollow(path)) {
        return path;
    }
    // The longest leading part that exists as written keeps its spelling, and so does every
    // part of it: it is found from the end, where a path about to be written usually lacks
    // only a component or two. Checking every growing prefix from the root instead cost a
    // status query per component, each walking the whole prefix again: a square of the depth
    // per path, and a cube for a tree placed level by level.
    const std::vector<fs::path> components(path.begin(), path.end());
    std::size_t kept = components.size() - 1;
    fs::path resolved = path.parent_path();
    while (kept > 0 && !ExistsNoFollow(resolved)) {
        --kept;
        resolved = resolved.parent_path();
    }
    if (kept == 0) {
        resolved.clear();
    }
    bool resolving = true;
    for (std::size_t index = kept; index < components.size(); ++index) {
        const fs::path& component = components[index];
        if (!resolving || component.empty() || component == "." || component == ".." ||
            component == component.root_path()) {
            resolved /= component;
            continue;
        }
        const fs::path candidate = resolved / component;
        if (ExistsNoFollow(candidate)) {
            resolved = candidate;
            continue;
        }
        fs::path spelling;
        if (FindSpelling(resolved, component, spelling)) {
            resolved /= spelling;
        } else {
            resolved = candidate;
            resolving = false;
        }
    }
    return resolved;
}

std::string_view LastPathComponent(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

fs::path ProgramFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : self.parent_path();
}

std::vector<fs::path> HelperToolFolders(const fs::path& programFolder) {
    std::vector<fs::path> folders;
    const fs::path installed = (programFolder / kHelperFolderFromPrograms).lexically_normal();
    std::error_code error;
    if (fs::is_directory(installed, error) && installed != programFolder.lexically_normal()) {
        folders.push_back(installed);
    }
    folders.push_back(programFolder);
    return folders;
}

std::vector<fs::path> VoteKitPlaces(const fs::path& programFolder) {
    return {(programFolder / kDataFolderFromPrograms / "kit").lexically_normal(),
            (programFolder / ".." / "kit").lexically_normal()};
}

std::optional<fs::path> VoteKitFolder(const fs::path& programFolder) {
    for (const fs::path& place : VoteKitPlaces(programFolder)) {
        std::error_code error;
        if (fs::is_regular_file(place / kVoteKitMarkerFile, error)) {
            return place;
        }
    }
    return std::nullopt;
}

} // namespace ballotine

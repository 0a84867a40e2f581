#include "platform/FileSystem.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

std::pair<std::string_view, std::string_view> SplitPattern(std::string_view pattern) {
    const std::size_t cut = pattern.find_last_of("/\\");
    if (cut == std::string_view::npos) {
        return {std::string_view{}, pattern};
    }
    return {pattern.substr(0, cut + 1), pattern.substr(cut + 1)};
}

// "dir/" names the link itself, not what it points to, only without the separator.
fs::path WithoutTrailingSeparator(const fs::path& path) {
    std::string text = path.native();
    while (text.size() > 1 && text.back() == kSeparator) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::vector<FolderEntry> FindFiles(std::string_view pattern) {
    const auto [folder, namePattern] = SplitPattern(pattern);
    if (namePattern.empty()) {
        return {};
    }
    const FolderListing listing = FolderListing::Read(ToNativeSeparators(folder));
    std::vector<FolderEntry> found;
    for (const FolderEntry* entry : listing.Match(namePattern)) {
        found.push_back(*entry);
    }
    return found;
}

std::optional<FileStatus> QueryFile(const fs::path& path) {
    struct stat info {};
    if (path.empty() || ::stat(ResolveCase(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    FileStatus status;
    status.isFolder = S_ISDIR(info.st_mode);
    status.size = status.isFolder ? 0 : static_cast<std::uint64_t>(info.st_size);
    return status;
}

bool FileExists(const fs::path& path) {
    const auto status = QueryFile(path);
    return status && !status->isFolder;
}

bool FolderExists(const fs::path& path) {
    const auto status = QueryFile(path);
    return status && status->isFolder;
}

std::optional<std::ifstream> OpenForReading(const fs::path& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const fs::path resolved = ResolveCase(path);
    std::error_code error;
    if (fs::is_directory(resolved, error)) {
        return std::nullopt;
    }
    std::ifstream stream(resolved, std::ios::binary);
    if (!stream.is_open()) {
        return std::nullopt;
    }
    return stream;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    auto stream = OpenForReading(path);
    if (!stream) {
        return std::nullopt;
    }
    std::string content;
    char chunk[65536];
    while (stream->read(chunk, sizeof chunk) || stream->gcount() > 0) {
        content.append(chunk, static_cast<std::size_t>(stream->gcount()));
    }
    if (stream->bad()) {
        return std::nullopt;
    }
    return content;
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to) {
    const fs::path source = ResolveCase(from);
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::ifstream in(source, std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    AtomicFile out(to);
    if (!out.IsOpen()) {
        return false;
    }
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        if (!out.Write(std::string_view(chunk, static_cast<std::size_t>(in.gcount())))) {
            return false;
        }
    }
    if (in.bad()) {
        return false;
    }
    out.KeepMode(static_cast<unsigned>(info.st_mode & 07777));
    return out.Commit();
}

bool DeleteFile(const fs::path& path) {
    const fs::path resolved = ResolveCase(WithoutTrailingSeparator(path));
    struct stat info {};
    if (path.empty() || ::lstat(resolved.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    return ::unlink(resolved.c_str()) == 0;
}

bool CreateFolder(const fs::path& path) {
    const fs::path resolved = ResolveCase(path);
    if (::mkdir(resolved.c_str(), 0777) == 0) {
        return true;
    }
    return FolderExists(resolved);
}

bool CreateFolders(const fs::path& path) {
    std::error_code error;
    fs::create_directories(ResolveCase(path), error);
    return FolderExists(path);
}

bool RemoveFolder(const fs::path& path) {
    const fs::path resolved = ResolveCase(WithoutTrailingSeparator(path));
    struct stat info {};
    if (path.empty() || ::lstat(resolved.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    return ::rmdir(resolved.c_str()) == 0;
}

} // namespace ballotine

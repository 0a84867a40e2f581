#include "install/WriteBoundary.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "platform/Paths.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

constexpr const char* kEntitiesFolder = "Entities";

// The last folder name of a path that ends with a separator ("/game/Ballotine/" -> "Ballotine").
std::string FolderName(std::string_view folder) {
    while (!folder.empty() && folder.back() == kSeparator) {
        folder.remove_suffix(1);
    }
    return std::string(LastPathComponent(folder));
}

bool IsEntityFile(std::string_view name) {
    return std::any_of(std::begin(kEntityFileExtensions), std::end(kEntityFileExtensions),
                       [name](std::string_view extension) {
                           return name.size() > extension.size() && EndsWithNoCase(name, extension);
                       });
}

// ".so", or ".so" followed by version numbers each after a dot: "libx.so", "libx.so.6",
// "libx.so.1.2".
bool IsSharedLibraryName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    const std::size_t so = lower.rfind(".so");
    if (so == std::string::npos) {
        return false;
    }
    std::string_view rest = std::string_view(lower).substr(so + 3);
    while (!rest.empty()) {
        const std::size_t digits = rest.find_first_not_of("0123456789", 1);
        const std::size_t length = digits == std::string_view::npos ? rest.size() : digits;
        if (rest.front() != '.' || length < 2) {
            return false;
        }
        rest.remove_prefix(length);
    }
    return true;
}

bool StartsLikeAProgram(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    char head[4] = {};
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    const std::string_view start(head, got > 0 ? static_cast<std::size_t>(got) : 0);
    return start.starts_with("\x7F"
                             "ELF") ||
           start.starts_with("#!");
}

} // namespace

WriteBoundary::WriteBoundary(const WorkingPaths& paths)
    : m_workFolder(FolderName(paths.workDir)), m_modFolder(FolderName(paths.modWorkDir)) {
    std::error_code error;
    const fs::path game = fs::canonical(ResolveCase(paths.installDir), error);
    if (!error && !paths.installDir.empty()) {
        m_game = game;
    }
}

fs::path WriteBoundary::RealPlace(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::weakly_canonical(ResolveCase(path), error);
    return error ? path.lexically_normal() : real;
}

std::string WriteBoundary::Refusal(const fs::path& real, bool isFolder) const {
    const fs::path relative = m_game.empty() ? fs::path() : real.lexically_relative(m_game);
    if (relative.empty() || *relative.begin() == "..") {
        return real.string() + " lies outside the game folder";
    }
    const std::vector<std::string> parts(relative.begin(), relative.end());
    if (parts.front() == "." || !EqualsNoCase(parts.front(), m_workFolder)) {
        return {};
    }
    // Inside Ballotine's folder only the way to the mod's Entities folder, and entity files in
    // it, are open.
    const std::string_view entities[] = {m_workFolder, m_modFolder, kEntitiesFolder};
    const std::size_t along = std::min(parts.size(), std::size(entities));
    const bool onTheWay = !m_modFolder.empty() &&
                          std::equal(parts.begin(), parts.begin() + static_cast<long>(along),
                                     entities, [](const std::string& part, std::string_view name) {
                                         return EqualsNoCase(part, name);
                                     });
    const bool open = onTheWay && (isFolder ? parts.size() <= std::size(entities)
                                            : parts.size() == std::size(entities) + 1 &&
                                                  IsEntityFile(parts.back()));
    return open ? std::string() : real.string() + " is one of Ballotine's own files";
}

std::vector<std::string> WriteBoundary::ZipToolOptions(std::string_view modFolder) const {
    std::vector<std::string> options{"-protect=" + m_workFolder};
    // The folder name comes from the list: as a pattern it must name one folder only.
    if (modFolder.empty() || modFolder.find_first_of("*?[/\\") != std::string_view::npos) {
        return options;
    }
    for (const std::string_view extension : kEntityFileExtensions) {
        options.push_back("-allow=" + m_workFolder + "/" + std::string(modFolder) + "/" +
                          kEntitiesFolder + "/*" + std::string(extension));
    }
    return options;
}

bool IsProgramFile(const fs::path& file, std::string_view name) {
    if (EndsWithNoCase(name, ".exe") || EndsWithNoCase(name, ".dll") ||
        EndsWithNoCase(name, ".cfg") || IsSharedLibraryName(name)) {
        return true;
    }
    struct stat info {};
    if (::lstat(file.c_str(), &info) == 0 && (info.st_mode & 0111) != 0) {
        return true;
    }
    return StartsLikeAProgram(file);
}

} // namespace ballotine

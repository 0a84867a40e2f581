#include "catalogue/ModFolders.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

#include <algorithm>
#include <optional>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// liblist.gam files are a few hundred bytes; a bigger one is not read whole.
constexpr std::size_t kLinesToRead = 256;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The value of a `key "value"` line whose key is `game`; nothing for other lines.
std::optional<std::string> GameValue(std::string_view line) {
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (!StartsWithNoCase(line.substr(pos), "game") || pos + 4 >= line.size() ||
        !IsBlank(line[pos + 4])) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(pos + 4);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        rest = rest.substr(0, rest.find('"'));
    } else {
        rest = rest.substr(0, rest.find_first_of(" \t"));
    }
    std::string value;
    for (const char c : rest) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            value += c;
        }
    }
    value.resize(std::min(value.size(), kLongestModTitle));
    if (value.find_first_not_of(' ') == std::string::npos) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string ReadModTitle(const fs::path& modFolder) {
    const std::string fallback = modFolder.filename().string();
    auto file = OpenForReading(modFolder / kModDescriptionFile);
    if (!file) {
        return fallback;
    }
    std::string line;
    for (std::size_t i = 0; i < kLinesToRead && ReadLine(*file, line); ++i) {
        if (auto title = GameValue(line)) {
            return *title;
        }
    }
    return fallback;
}

bool IsModFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '/' || c == '\\';
    });
}

std::vector<std::string> FindTfcFolders(const fs::path& gameFolder) {
    std::vector<std::string> folders;
    const FolderListing game = FolderListing::ReadNames(gameFolder);
    for (const FolderEntry& entry : game.Entries()) {
        if (entry.isFolder && EqualsNoCase(entry.name, "tfc") &&
            FileExists(gameFolder / entry.name / kModDescriptionFile)) {
            folders.push_back(entry.name);
        }
    }
    return folders;
}

} // namespace ballotine

#include "publish/PackageLayout.h"

#include "common/Text.h"
#include "publish/PublishNames.h"

#include <vector>

namespace ballotine {

namespace {

bool RefusedInsideFolders(std::string_view name) {
    return EndsWithNoCase(name, ".exe") || EndsWithNoCase(name, ".cfg") ||
           EndsWithNoCase(name, ".dll");
}

} // namespace

PackageLayout::PackageLayout(std::string mod) : m_mod(std::move(mod)) {
    const std::string game(kGameFolder);
    const std::string maps = game + "/" + m_mod + "/maps/";
    m_mappings.files = {
        {"bsp", maps}, {"txt", maps}, {"res", maps}, {"wad", game + "/" + m_mod + "/"}};
    m_mappings.dirs = {{"valve", game}, {"Entities", game + "/Ballotine/" + m_mod}};
}

std::optional<std::string> PackageLayout::Placement(std::string_view entryName) const {
    const std::size_t slash = entryName.find('/');
    if (slash == std::string_view::npos) {
        return m_mappings.MapFile(entryName);
    }
    if (RefusedInsideFolders(entryName)) {
        return std::nullopt;
    }
    const std::string_view folder = entryName.substr(0, slash);
    const std::string target = m_mappings.MapDirectory(folder).value_or(
        std::string(kGameFolder) + "/" + m_mod + "/" + std::string(folder));
    return JoinPath(target, entryName.substr(slash + 1));
}

std::optional<std::string> PackageLayout::EntryName(std::string_view gamePath) const {
    const std::string wanted = std::string(kGameFolder) + "/" + std::string(gamePath);
    const std::vector<std::string_view> parts = PathComponents(gamePath);
    if (parts.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> candidates{std::string(parts.back())};
    for (std::size_t from = 0; from + 1 < parts.size(); ++from) {
        const std::size_t offset = static_cast<std::size_t>(parts[from].data() - gamePath.data());
        candidates.emplace_back(gamePath.substr(offset));
    }
    for (const std::string& candidate : candidates) {
        if (Placement(candidate) == wanted) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace ballotine

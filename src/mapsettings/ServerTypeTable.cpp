#include "mapsettings/ServerTypeTable.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

#include <algorithm>

namespace ballotine {

void ServerTypeTable::LoadServerTypes(std::string_view modWorkDir) {
    m_types.clear();
    if (modWorkDir.empty()) {
        return;
    }
    auto file = OpenForReading(std::string(modWorkDir) + "servertypes.conf");
    std::string line;
    if (!file || !ReadLine(*file, line) || line != kServerTypesHeader) {
        return;
    }
    while (ReadLine(*file, line)) {
        std::string name;
        const bool hasNext = ReadLine(*file, name);
        if (line.compare(0, 4, "#END") == 0) {
            continue; // the marker and the line after it are skipped
        }
        m_types.push_back(
            ServerType{line.substr(0, kServerTypeKeyLength),
                       hasNext ? name.substr(0, kServerTypeNameLength) : std::string()});
    }
}

std::int32_t ServerTypeTable::FindServerType(std::string_view key) const {
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        if (EqualsNoCase(m_types[i].key, key)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::vector<ServerSizeRow> RankServerSizes(const ServerTypeTable& table, std::string_view mapName,
                                           const std::vector<std::string>& fileNames) {
    struct RankedRow {
        std::int32_t rank;
        ServerSizeRow row;
    };
    std::vector<RankedRow> rows;
    for (const std::string& name : fileNames) {
        if (!EndsWithNoCase(name, ".ref")) {
            continue;
        }
        const std::string_view stem = std::string_view(name).substr(0, name.size() - 4);
        const std::size_t dot = stem.rfind('.');
        // The name before the key must be the map's own: "2fort.x.16.ref" belongs to the map
        // "2fort.x", not to "2fort", and a wildcard in a map name matches nothing extra.
        if (dot == std::string_view::npos || !EqualsNoCase(stem.substr(0, dot), mapName)) {
            continue;
        }
        const std::string_view key = stem.substr(dot + 1);
        const std::int32_t rank = key.size() < 2 ? -1 : table.FindServerType(key);
        if (rank < 0) {
            continue;
        }
        const std::string& displayName = table.Types()[static_cast<std::size_t>(rank)].displayName;
        rows.push_back(RankedRow{rank, ServerSizeRow{displayName, std::string(key)}});
    }
    // stable: rows of equal rank keep the folder's order, as inserting before the first
    // higher rank would
    std::stable_sort(rows.begin(), rows.end(),
                     [](const RankedRow& a, const RankedRow& b) { return a.rank < b.rank; });
    std::vector<ServerSizeRow> result;
    result.reserve(rows.size());
    for (RankedRow& ranked : rows) {
        result.push_back(std::move(ranked.row));
    }
    return result;
}

std::vector<ServerSizeRow> ListServerSizes(const ServerTypeTable& table,
                                           std::string_view modWorkDir, std::string_view mapName) {
    if (modWorkDir.empty() || mapName.empty()) {
        return {};
    }
    // Names and kinds only: a status query per file would cost more than the rest together
    // in an Entities folder of many maps.
    const FolderListing entities = FolderListing::ReadNames(std::string(modWorkDir) + "Entities");
    std::vector<std::string> fileNames;
    for (const FolderEntry* file : entities.Match(std::string(mapName) + ".*.ref")) {
        if (!file->isFolder) {
            fileNames.push_back(file->name);
        }
    }
    return RankServerSizes(table, mapName, fileNames);
}

} // namespace ballotine

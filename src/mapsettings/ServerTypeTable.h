#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

inline constexpr const char* kServerTypesHeader =
    "//Supported Server Types - *** DO NOT MODIFY ***//";
inline constexpr std::size_t kServerTypeKeyLength = 9;
inline constexpr std::size_t kServerTypeNameLength = 127;

struct ServerType {
    std::string key;         // as written in reference file names, at most 9 characters
    std::string displayName; // at most 127 characters
};

// The server sizes the tool knows, in the fixed order of servertypes.conf: an entry's index is
// its rank. Every entry of the file is kept, however many there are.
class ServerTypeTable {
public:
    // Reads "servertypes.conf" of the mod's working folder; a missing file or a wrong header
    // leaves the table empty.
    void LoadServerTypes(std::string_view modWorkDir);

    std::int32_t Count() const { return static_cast<std::int32_t>(m_types.size()); }
    const std::vector<ServerType>& Types() const { return m_types; }
    // Index of the first entry whose key equals `key` without regard to case; -1 if none.
    std::int32_t FindServerType(std::string_view key) const;

private:
    std::vector<ServerType> m_types;
};

// One row of a map's server size list: what is shown and the key as the file name spells it.
struct ServerSizeRow {
    std::string displayName;
    std::string key;
};

// The server sizes a map has reference files for ("<map>.<key>.ref" in the Entities folder),
// in ascending rank whatever order the folder lists them in. Keys shorter than 2 characters
// or unknown to the table are left out, and so are the files of other maps.
std::vector<ServerSizeRow> ListServerSizes(const ServerTypeTable& table,
                                           std::string_view modWorkDir, std::string_view mapName);

// The rows that the file names of one folder listing give for a map, in ascending rank.
std::vector<ServerSizeRow> RankServerSizes(const ServerTypeTable& table, std::string_view mapName,
                                           const std::vector<std::string>& fileNames);

} // namespace ballotine

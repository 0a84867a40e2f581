#pragma once

#include "download/DownloadQueue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ballotine {

struct WorkingPaths;

// What is installed of one map (or, under "*<dir>", of one mod package).
struct VersionEntry {
    std::string key;
    // 0: the map is not known to be present; else the version of the last map package
    // installed, or 1 for a map found on disk without a recorded version.
    std::int32_t mapVersion = 0;
    // 0: no entity package installed; else the version of the last one installed.
    std::int32_t entityVersion = 0;
};

// The installed versions per map key, in the order of "config.conf"; new keys are appended and
// no entry is ever removed. Keys are looked up without regard to case and the first entry of a
// key wins, so a file that holds a key twice keeps both lines but answers with the first.
class VersionTable {
public:
    const std::vector<VersionEntry>& Entries() const { return m_entries; }
    std::int32_t Count() const { return static_cast<std::int32_t>(m_entries.size()); }
    void Clear();
    void Append(VersionEntry entry);

    VersionEntry* Find(std::string_view key);
    const VersionEntry* Find(std::string_view key) const;

    // The recorded map version minus `version`; -1 when the key is not recorded.
    std::int32_t MapVersionGap(std::string_view key, std::int32_t version) const;
    // The recorded entity version minus `version`; -1 when the key is not recorded.
    std::int32_t EntityVersionGap(std::string_view key, std::int32_t version) const;

private:
    std::vector<VersionEntry> m_entries;
    std::unordered_map<std::string, std::size_t> m_firstByLowerKey;
};

inline constexpr const char* kVersionFileName = "config.conf";
inline constexpr const char* kVersionFileHeader = "#TFC Header V1.0 - DO NOT MODIFY";

// Fills the table from "config.conf" in the mod's working folder. False when the file cannot
// be opened (the table is then empty); a file without the header gives an empty table.
bool LoadVersionTable(VersionTable& table, const WorkingPaths& paths);
// Writes the table to "config.conf", replacing the file whole or not at all.
bool SaveVersionTable(const VersionTable& table, const WorkingPaths& paths);
// Marks every map file of the mod as present (a map version of at least 1), appending the maps
// the table does not know, then saves.
bool ScanInstalledMaps(VersionTable& table, const WorkingPaths& paths);
// Raises the versions of the installed items of `queue` (never lowers one), then saves.
bool RecordInstalledVersions(VersionTable& table, const DownloadQueue& queue,
                             const WorkingPaths& paths);

// The text after the last "\" or "/"; the whole text when it holds neither.
std::string FileNameOf(std::string_view text);

} // namespace ballotine

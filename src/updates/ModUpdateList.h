#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// One mod package of the mod update list ("modsupdate.cfg"): seven lines after a "#MOD#" line.
struct ModUpdateRecord {
    std::string dir;          // the mod's folder below the game folder, e.g. "tfc"
    std::int32_t version = 0; // package version
    std::int32_t size = 0;    // package size in bytes
    std::string modTitle;
    std::string packageTitle;
    std::string baseUrl; // the mod's area on the update server
    std::string packageUrl;
    std::string packageMirrorUrl;
    // False when the file ended inside the record: the missing fields are empty and 0, and
    // nothing is to be listed for it.
    bool complete = true;
};

struct ModUpdateList {
    std::string modListUrl; // where the list is fetched from next time
    std::vector<ModUpdateRecord> records;
};

inline constexpr const char* kModRecordMarker = "#MOD#";

// Reads the mod update list: the address line, then records for as long as a "#MOD#" line
// stands where a record may begin; the first other line and everything after it is ignored.
ModUpdateList ParseModUpdateList(std::istream& in);
// The same from a file; nothing when it cannot be opened.
std::optional<ModUpdateList> ReadModUpdateList(const std::filesystem::path& file);

} // namespace ballotine

#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// One map of the map update list ("update.conf"): ten lines after a "#MAP#" line.
struct MapRecord {
    std::string key;                // the map's name, also its key in the version record
    std::int32_t addedRevision = 0; // the list revision that added the map
    std::int32_t hasVoteData = 0;   // nonzero: the server holds the map's vote map data
    std::int32_t mapVersion = 0;    // 1 or more when a map package is offered
    std::int32_t mapSize = 0;       // bytes; 0 or less is unknown
    std::string mapUrl;
    std::string mapMirrorUrl; // "N/A" (any case): no mirror
    std::string mapTitle;
    std::int32_t entityVersion = 0; // nonzero when an entity package is offered
    std::int32_t entitySize = 0;
    std::string entityUrl;
    std::string entityMirrorUrl;
    std::string entityTitle;
    // False when the file ended inside the record; the missing fields are empty and 0.
    bool complete = true;
};

struct MapUpdateList {
    std::int32_t listRevision = 0;
    std::vector<MapRecord> records;
};

inline constexpr const char* kMapRecordMarker = "#MAP#";

// Reads the map update list: the revision line, then records for as long as a "#MAP#" line
// stands where a record may begin. The first other line (usually "#END#") or the end of the
// stream ends the list. Numbers are read as "%i" reads them; what does not scan is 0.
MapUpdateList ParseMapUpdateList(std::istream& in);
// The same from a file; nothing when it cannot be opened.
std::optional<MapUpdateList> ReadMapUpdateList(const std::filesystem::path& file);

} // namespace ballotine

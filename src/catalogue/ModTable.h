#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

struct ModRecord {
    std::string dir;          // the mod's folder below the game folder, e.g. "tfc"
    std::int32_t version = 0; // installed version of the mod's data; 0 or less: not installed
    std::string title;        // shown in the mod selector; the key a selection is found by
    std::string baseUrl;      // the mod's area on the update server
    bool offered = false;     // shown in the selector at the last reading (not stored)
};

// The known mods, in file order. Every record read is kept, offered or not, so a save writes
// back all of them.
struct ModTable {
    std::string modListUrl;
    std::vector<ModRecord> records;

    std::int32_t Count() const { return static_cast<std::int32_t>(records.size()); }
    // Index of the first record whose title equals `title` without regard to case; -1 if none.
    std::int32_t FindModByTitle(std::string_view title) const;
    // Index of the first record whose folder equals `dir` without regard to case; -1 if none.
    std::int32_t FindModByDir(std::string_view dir) const;
};

} // namespace ballotine

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ballotine::kit {

// One entity of a map's entity text: its key and value pairs in order.
struct Entity {
    std::vector<std::pair<std::string, std::string>> pairs;

    // The value of the first pair with this key, if any.
    std::optional<std::string_view> Find(std::string_view key) const;
    std::string_view Get(std::string_view key) const { return Find(key).value_or(""); }
};

// The entities of well-formed entity text (quoted strings, "//" comments); reading stops at
// the first thing that is not part of an entity.
std::vector<Entity> ParseEntities(std::string_view text);

} // namespace ballotine::kit

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The update lists carry map keys and mod folder names as words ("%s"), the client keeps keys
// of at most 63 characters, makes file and folder names of them and asks for them in
// addresses. A name that is to travel that road keeps to letters, digits and "_-.+()!~".
inline constexpr std::size_t kLongestKey = 63;
bool IsPublishableName(std::string_view name);

// A title for the update list: one line of at most 511 bytes without control characters,
// surrounding blanks removed; nothing when nothing is left or it is longer.
inline constexpr std::size_t kLongestTitle = 511;
std::optional<std::string> CleanTitle(std::string_view text);

// An address the lists can name packages under: "scheme://rest" in printable ASCII without
// blanks, given back without trailing "/"; nothing when it is none.
std::optional<std::string> CleanAddress(std::string_view text);

// The components of a path written with "/" ("a//b" has an empty one).
std::vector<std::string_view> PathComponents(std::string_view path);

// The text with control characters shown as \xNN, for messages about names from the folder.
std::string Shown(std::string_view text);

} // namespace ballotine

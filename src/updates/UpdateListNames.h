#pragma once

#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// Notes for whoever looks into a problem (a record left out, and why); never shown to the user.
using DebugLog = std::function<void(const std::string&)>;

// An address of an update list; nothing for "N/A" (in any case) or an empty line, which the
// lists write where a package has no mirror.
std::optional<std::string> ListedAddress(std::string_view text);

// Whether a name from an update list may become one component of a path: not empty, not "."
// or "..", without "/" or "\" and without control characters. The update server is not ours,
// and its keys, folder names and file names end up in paths that are written and deleted.
bool IsPlainName(std::string_view name);

// Keys name a line of the version record, which holds at most this many characters.
inline constexpr std::size_t kLongestListKey = 63;

// The map update list without the records whose key is not a plain name or is longer than
// kLongestListKey, and without the packages whose address does not end in a plain file name
// (the record keeps its other package and its vote data); each is noted in `log`. Nothing
// when the file cannot be opened.
std::optional<MapUpdateList> ReadCheckedMapUpdateList(const std::filesystem::path& file,
                                                      const DebugLog& log);
// The mod update list without the records whose folder name is not a plain name, and without a
// record cut short by the end of the file; each is noted in `log`.
std::optional<ModUpdateList> ReadCheckedModUpdateList(const std::filesystem::path& file,
                                                      const DebugLog& log);

} // namespace ballotine

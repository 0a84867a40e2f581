#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ballotine {

// Replaces every occurrence of `keyword` in `line` by `value`, case-sensitively. Matches do
// not overlap and text brought in by `value` is not scanned again for the same keyword. Lines
// may be of any length. Returns whether anything was replaced; an empty keyword replaces
// nothing.
bool ReplaceKeyword(std::string& line, std::string_view keyword, std::string_view value);

// The length `line` would have after ReplaceKeyword, without building it.
std::size_t LengthAfterReplacing(std::string_view line, std::string_view keyword,
                                 std::string_view value);

} // namespace ballotine

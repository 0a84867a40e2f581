#pragma once

#include <string>
#include <string_view>

namespace ballotine {

// Replaces every occurrence of `keyword` in `line` by `value`, case-sensitively. Matches do
// not overlap and text brought in by `value` is not scanned again for the same keyword. Lines
// may be of any length. Returns whether anything was replaced; an empty keyword replaces
// nothing.
bool ReplaceKeyword(std::string& line, std::string_view keyword, std::string_view value);

} // namespace ballotine

#pragma once

#include "ripent/LumpTable.h"

#include <array>
#include <string>
#include <string_view>

namespace ballotine::ripent {

// A map whose lumps hold these bytes, laid out in index order as a compiler would.
std::string ComposeMap(const std::array<std::string, kLumpCount>& lumps);

// The bytes of one lump of a map, as its header describes it.
std::string_view LumpBytes(std::string_view map, int index);

} // namespace ballotine::ripent

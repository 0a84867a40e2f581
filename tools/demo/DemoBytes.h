#pragma once

#include <cstdint>
#include <string>

namespace ballotine::demo {

// Appends a little-endian 32-bit value, as the game's binary files hold them.
inline void PutInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(bits >> shift & 0xFF));
    }
}

} // namespace ballotine::demo

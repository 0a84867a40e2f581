#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace ballotine::demo {

// Appends a little-endian 32-bit value, as the game's binary files hold them.
inline void PutInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(bits >> shift & 0xFF));
    }
}

inline void PutInt16(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<char>(bits & 0xFF));
    out.push_back(static_cast<char>(bits >> 8));
}

inline void PutFloat(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutInt32(out, static_cast<std::int32_t>(bits));
}

} // namespace ballotine::demo

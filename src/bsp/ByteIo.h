#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ballotine::bsp {

// The map format stores every number little-endian; these read and append them whatever the
// machine's own order is. Readers take an offset the caller has checked against the size.

inline std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

inline std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(bytes, at));
}

inline std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

inline std::int16_t ReadI16(std::string_view bytes, std::size_t at) {
    return static_cast<std::int16_t>(ReadU16(bytes, at));
}

inline float ReadF32(std::string_view bytes, std::size_t at) {
    const std::uint32_t bits = ReadU32(bytes, at);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(value >> shift & 0xFF));
    }
}

inline void PutI32(std::string& out, std::int64_t value) {
    PutU32(out, static_cast<std::uint32_t>(value));
}

inline void PutU16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

inline void PutI16(std::string& out, std::int32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value));
}

inline void PutF32(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

} // namespace ballotine::bsp

#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// SHA-256 (FIPS 180-4), fed in pieces. The publisher compares contents by it: a package is
// rebuilt and its version raised only when what goes into it changed, whatever the dates.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void Update(std::string_view bytes);
    // The digest of everything fed so far; the object is spent afterwards.
    Digest Finish();

    // The digest of `bytes` as 64 lower-case hexadecimal digits.
    static std::string Hex(std::string_view bytes);
    static std::string ToHex(const Digest& digest);

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_pending{};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_totalBytes = 0;
};

// The digest of a whole file as 64 hexadecimal digits, read in pieces; nothing when the file
// cannot be read.
std::optional<std::string> FileSha256(const std::filesystem::path& file);

} // namespace ballotine

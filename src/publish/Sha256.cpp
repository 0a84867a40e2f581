#include "publish/Sha256.h"

#include <fstream>
#include <vector>

namespace ballotine {

namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t Rotate(std::uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

std::uint32_t ReadBigEndian(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

} // namespace

Sha256::Sha256()
    : m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Block(const std::uint8_t* block) {
    std::array<std::uint32_t, 64> w{};
    for (std::size_t i = 0; i < 16; ++i) {
        w[i] = ReadBigEndian(block + 4 * i);
    }
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint32_t s1 = Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + s1 + choice + kRound[i] + w[i];
        const std::uint32_t s0 = Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const std::uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

void Sha256::Update(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t size = bytes.size();
    m_totalBytes += size;
    if (m_pendingSize > 0) {
        const std::size_t take = std::min(size, m_pending.size() - m_pendingSize);
        std::copy(data, data + take,
                  m_pending.begin() + static_cast<std::ptrdiff_t>(m_pendingSize));
        m_pendingSize += take;
        data += take;
        size -= take;
        if (m_pendingSize < m_pending.size()) {
            return;
        }
        Block(m_pending.data());
        m_pendingSize = 0;
    }
    for (; size >= 64; data += 64, size -= 64) {
        Block(data);
    }
    std::copy(data, data + size, m_pending.begin());
    m_pendingSize = size;
}

Sha256::Digest Sha256::Finish() {
    const std::uint64_t bits = m_totalBytes * 8;
    std::string padding(1, '\x80');
    const std::size_t afterMarker = (m_pendingSize + 1) % 64;
    padding.append(afterMarker <= 56 ? 56 - afterMarker : 120 - afterMarker, '\0');
    for (int shift = 56; shift >= 0; shift -= 8) {
        padding += static_cast<char>((bits >> shift) & 0xFF);
    }
    Update(padding);
    Digest digest{};
    for (std::size_t i = 0; i < m_state.size(); ++i) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            digest[4 * i + byte] = static_cast<std::uint8_t>(m_state[i] >> (24 - 8 * byte));
        }
    }
    return digest;
}

std::string Sha256::ToHex(const Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::string Sha256::Hex(std::string_view bytes) {
    Sha256 hash;
    hash.Update(bytes);
    return ToHex(hash.Finish());
}

std::optional<std::string> FileSha256(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Sha256 hash;
    std::vector<char> chunk(1 << 16);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        hash.Update(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return Sha256::ToHex(hash.Finish());
}

} // namespace ballotine

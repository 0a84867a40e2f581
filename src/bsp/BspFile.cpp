#include "bsp/BspFile.h"

#include <algorithm>

namespace ballotine::bsp {

namespace {

// Large enough to keep the system calls few, small enough to stay in the cache between the
// read and the write.
constexpr std::int64_t kCopyChunk = 1 << 16;

constexpr std::string_view kZeroPadding("\0\0\0", 3);

bool ReadOn(std::ifstream& stream, char* into, std::int64_t length) {
    stream.read(into, length);
    return stream.gcount() == length;
}

bool ReadExactly(std::ifstream& stream, std::int64_t offset, char* into, std::int64_t length) {
    stream.clear();
    stream.seekg(offset);
    return ReadOn(stream, into, length);
}

} // namespace

std::optional<BspFile> BspFile::Open(std::ifstream stream, std::string& error) {
    if (!stream.is_open()) {
        error = "cannot be read";
        return std::nullopt;
    }
    stream.seekg(0, std::ios::end);
    const std::int64_t size = stream.tellg();
    if (size < 0) {
        error = "cannot be read";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(std::min(size, kHeaderSize)), '\0');
    if (!ReadExactly(stream, 0, bytes.data(), static_cast<std::int64_t>(bytes.size()))) {
        error = "cannot be read";
        return std::nullopt;
    }
    const std::optional<BspHeader> header = ReadHeader(bytes, size, error);
    if (!header) {
        return std::nullopt;
    }
    return BspFile(std::move(stream), *header);
}

std::optional<std::string> BspFile::ReadLump(int index, std::string& error) {
    const Lump& lump = m_header.lumps[static_cast<std::size_t>(index)];
    std::string bytes(static_cast<std::size_t>(lump.length), '\0');
    if (!ReadExactly(m_stream, lump.offset, bytes.data(), lump.length)) {
        error = "changed or became unreadable while being read";
        return std::nullopt;
    }
    return bytes;
}

bool BspFile::WriteWithEntities(const ByteSink& out, std::string_view entityLump,
                                std::string& error) {
    const auto entityLength = static_cast<std::int64_t>(entityLump.size());
    const BspHeader planned{kBspVersion, PlanLayout(Lumps(), entityLength)};
    if (LaidOutSize(planned.lumps) > kLargestMap) {
        error = "would grow beyond the largest size a BSP map can describe";
        return false;
    }
    if (!out(EncodeHeader(planned))) {
        error = "cannot be written";
        return false;
    }
    std::string buffer;
    for (const int index : FileOrder(Lumps())) {
        const Lump& lump = planned.lumps[static_cast<std::size_t>(index)];
        const bool copied =
            index == kEntityLump
                ? out(entityLump)
                : CopyBytes(out, Lumps()[static_cast<std::size_t>(index)], buffer, error);
        const auto padding = static_cast<std::size_t>(AlignedTo4(lump.length) - lump.length);
        if (!copied || !out(kZeroPadding.substr(0, padding))) {
            if (error.empty()) {
                error = "cannot be written";
            }
            return false;
        }
    }
    return true;
}

bool BspFile::CopyBytes(const ByteSink& out, const Lump& lump, std::string& buffer,
                        std::string& error) {
    buffer.resize(static_cast<std::size_t>(std::min(kCopyChunk, lump.length)));
    m_stream.clear();
    m_stream.seekg(lump.offset);
    for (std::int64_t done = 0; done < lump.length;) {
        const std::int64_t chunk = std::min(kCopyChunk, lump.length - done);
        if (!ReadOn(m_stream, buffer.data(), chunk)) {
            error = "changed or became unreadable while being read";
            return false;
        }
        if (!out(std::string_view(buffer.data(), static_cast<std::size_t>(chunk)))) {
            return false;
        }
        done += chunk;
    }
    return true;
}

} // namespace ballotine::bsp

#include "bsp/LumpTable.h"

#include "bsp/ByteIo.h"

#include <algorithm>
#include <numeric>

namespace ballotine::bsp {

BspHeader DecodeHeader(std::string_view bytes) {
    BspHeader header;
    header.version = ReadI32(bytes, 0);
    for (std::size_t i = 0; i < kLumpCount; ++i) {
        header.lumps[i].offset = ReadI32(bytes, 4 + 8 * i);
        header.lumps[i].length = ReadI32(bytes, 8 + 8 * i);
    }
    return header;
}

std::string EncodeHeader(const BspHeader& header) {
    std::string out;
    out.reserve(kHeaderSize);
    PutI32(out, header.version);
    for (const Lump& lump : header.lumps) {
        PutI32(out, lump.offset);
        PutI32(out, lump.length);
    }
    return out;
}

std::optional<BspHeader> ReadHeader(std::string_view start, std::int64_t fileSize,
                                    std::string& error) {
    if (fileSize < kHeaderSize || start.size() < static_cast<std::size_t>(kHeaderSize)) {
        error = "too short to be a BSP map";
        return std::nullopt;
    }
    const BspHeader header = DecodeHeader(start);
    if (header.version != kBspVersion) {
        error = "BSP version " + std::to_string(header.version) + ", not " +
                std::to_string(kBspVersion);
        return std::nullopt;
    }
    if (auto tableError = FindLumpTableError(header.lumps, fileSize)) {
        error = std::move(*tableError);
        return std::nullopt;
    }
    return header;
}

std::optional<std::string> FindLumpTableError(const LumpTable& lumps, std::int64_t fileSize) {
    for (int i = 0; i < kLumpCount; ++i) {
        const Lump& lump = lumps[i];
        if (lump.offset < 0 || lump.length < 0 || lump.End() > fileSize) {
            return "lump " + std::to_string(i) + " lies outside the file";
        }
        if (lump.length > 0 && lump.offset < kHeaderSize) {
            return "lump " + std::to_string(i) + " overlaps the header";
        }
    }
    const std::array<int, kLumpCount> order = FileOrder(lumps);
    int previous = -1;
    for (const int index : order) {
        if (lumps[index].length == 0) {
            continue;
        }
        if (previous >= 0 && lumps[index].offset < lumps[previous].End()) {
            return "lumps " + std::to_string(std::min(previous, index)) + " and " +
                   std::to_string(std::max(previous, index)) + " overlap";
        }
        previous = index;
    }
    return std::nullopt;
}

std::array<int, kLumpCount> FileOrder(const LumpTable& lumps) {
    std::array<int, kLumpCount> order{};
    std::iota(order.begin(), order.end(), 0);
    // An empty lump sharing its offset with a filled one was written before it.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::pair(lumps[a].offset, lumps[a].length > 0) <
               std::pair(lumps[b].offset, lumps[b].length > 0);
    });
    return order;
}

LumpTable PlanLayout(const LumpTable& lumps, std::int64_t entityLength) {
    LumpTable planned{};
    std::int64_t cursor = kHeaderSize;
    for (const int index : FileOrder(lumps)) {
        const std::int64_t length = index == kEntityLump ? entityLength : lumps[index].length;
        planned[index] = Lump{cursor, length};
        cursor = AlignedTo4(cursor + length);
    }
    return planned;
}

std::int64_t LaidOutSize(const LumpTable& lumps) {
    std::int64_t size = kHeaderSize;
    for (const Lump& lump : lumps) {
        size = std::max(size, AlignedTo4(lump.End()));
    }
    return size;
}

} // namespace ballotine::bsp

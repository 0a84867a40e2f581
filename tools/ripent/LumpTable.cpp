#include "ripent/LumpTable.h"

#include "common/Text.h"

#include <algorithm>
#include <numeric>

namespace ballotine::ripent {

namespace {

std::int32_t ReadInt32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

void AppendInt32(std::string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
    }
}

} // namespace

BspHeader DecodeHeader(std::string_view bytes) {
    BspHeader header;
    header.version = ReadInt32(bytes, 0);
    for (std::size_t i = 0; i < kLumpCount; ++i) {
        header.lumps[i].offset = ReadInt32(bytes, 4 + 8 * i);
        header.lumps[i].length = ReadInt32(bytes, 8 + 8 * i);
    }
    return header;
}

std::string EncodeHeader(const BspHeader& header) {
    std::string out;
    out.reserve(kHeaderSize);
    AppendInt32(out, header.version);
    for (const Lump& lump : header.lumps) {
        AppendInt32(out, lump.offset);
        AppendInt32(out, lump.length);
    }
    return out;
}

std::optional<std::string> FindLumpTableError(const LumpTable& lumps, std::int64_t fileSize) {
    for (int i = 0; i < kLumpCount; ++i) {
        const Lump& lump = lumps[i];
        if (lump.offset < 0 || lump.length < 0 || lump.End() > fileSize) {
            return Format("lump %d lies outside the file", i);
        }
        if (lump.length > 0 && lump.offset < kHeaderSize) {
            return Format("lump %d overlaps the header", i);
        }
    }
    const std::array<int, kLumpCount> order = FileOrder(lumps);
    int previous = -1;
    for (const int index : order) {
        if (lumps[index].length == 0) {
            continue;
        }
        if (previous >= 0 && lumps[index].offset < lumps[previous].End()) {
            return Format("lumps %d and %d overlap", std::min(previous, index),
                          std::max(previous, index));
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

} // namespace ballotine::ripent

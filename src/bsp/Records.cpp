#include "bsp/Records.h"

#include "bsp/ByteIo.h"

#include <algorithm>

namespace ballotine::bsp {

namespace {

template <std::size_t N>
void PutFloats(std::string& out, const std::array<float, N>& values) {
    for (const float value : values) {
        PutF32(out, value);
    }
}

template <std::size_t N>
void PutShorts(std::string& out, const std::array<std::int16_t, N>& values) {
    for (const std::int16_t value : values) {
        PutI16(out, value);
    }
}

template <std::size_t N>
std::size_t GetFloats(std::string_view bytes, std::size_t at, std::array<float, N>& values) {
    for (float& value : values) {
        value = ReadF32(bytes, at);
        at += 4;
    }
    return at;
}

template <std::size_t N>
std::size_t GetShorts(std::string_view bytes, std::size_t at, std::array<std::int16_t, N>& values) {
    for (std::int16_t& value : values) {
        value = ReadI16(bytes, at);
        at += 2;
    }
    return at;
}

template <std::size_t N>
std::size_t GetBytes(std::string_view bytes, std::size_t at, std::array<std::uint8_t, N>& values) {
    for (std::uint8_t& value : values) {
        value = static_cast<std::uint8_t>(bytes[at++]);
    }
    return at;
}

} // namespace

void Encode(std::string& out, const PlaneRecord& record) {
    PutFloats(out, record.normal);
    PutF32(out, record.dist);
    PutI32(out, record.type);
}

void Encode(std::string& out, const Vertex& record) {
    PutFloats(out, record);
}

void Encode(std::string& out, const NodeRecord& record) {
    PutI32(out, record.plane);
    PutShorts(out, record.children);
    PutShorts(out, record.mins);
    PutShorts(out, record.maxs);
    PutU16(out, record.firstFace);
    PutU16(out, record.faceCount);
}

void Encode(std::string& out, const TexInfoRecord& record) {
    PutFloats(out, record.vecs[0]);
    PutFloats(out, record.vecs[1]);
    PutI32(out, record.texture);
    PutI32(out, record.flags);
}

void Encode(std::string& out, const FaceRecord& record) {
    PutI16(out, record.plane);
    PutI16(out, record.side);
    PutI32(out, record.firstEdge);
    PutI16(out, record.edgeCount);
    PutI16(out, record.texInfo);
    out.append(record.styles.begin(), record.styles.end());
    PutI32(out, record.lightOffset);
}

void Encode(std::string& out, const ClipNodeRecord& record) {
    PutI32(out, record.plane);
    PutShorts(out, record.children);
}

void Encode(std::string& out, const LeafRecord& record) {
    PutI32(out, record.contents);
    PutI32(out, record.visOffset);
    PutShorts(out, record.mins);
    PutShorts(out, record.maxs);
    PutU16(out, record.firstMarkSurface);
    PutU16(out, record.markSurfaceCount);
    out.append(record.ambient.begin(), record.ambient.end());
}

void Encode(std::string& out, const EdgeRecord& record) {
    PutU16(out, record.vertices[0]);
    PutU16(out, record.vertices[1]);
}

void Encode(std::string& out, const ModelRecord& record) {
    PutFloats(out, record.mins);
    PutFloats(out, record.maxs);
    PutFloats(out, record.origin);
    for (const std::int32_t head : record.headNodes) {
        PutI32(out, head);
    }
    PutI32(out, record.visLeaves);
    PutI32(out, record.firstFace);
    PutI32(out, record.faceCount);
}

void Encode(std::string& out, const MipTexRecord& record) {
    out.append(record.name.begin(), record.name.end());
    PutU32(out, record.width);
    PutU32(out, record.height);
    for (const std::uint32_t offset : record.offsets) {
        PutU32(out, offset);
    }
}

void Decode(std::string_view bytes, std::size_t at, PlaneRecord& record) {
    at = GetFloats(bytes, at, record.normal);
    record.dist = ReadF32(bytes, at);
    record.type = ReadI32(bytes, at + 4);
}

void Decode(std::string_view bytes, std::size_t at, Vertex& record) {
    GetFloats(bytes, at, record);
}

void Decode(std::string_view bytes, std::size_t at, NodeRecord& record) {
    record.plane = ReadI32(bytes, at);
    at = GetShorts(bytes, at + 4, record.children);
    at = GetShorts(bytes, at, record.mins);
    at = GetShorts(bytes, at, record.maxs);
    record.firstFace = ReadU16(bytes, at);
    record.faceCount = ReadU16(bytes, at + 2);
}

void Decode(std::string_view bytes, std::size_t at, TexInfoRecord& record) {
    at = GetFloats(bytes, at, record.vecs[0]);
    at = GetFloats(bytes, at, record.vecs[1]);
    record.texture = ReadI32(bytes, at);
    record.flags = ReadI32(bytes, at + 4);
}

void Decode(std::string_view bytes, std::size_t at, FaceRecord& record) {
    record.plane = ReadI16(bytes, at);
    record.side = ReadI16(bytes, at + 2);
    record.firstEdge = ReadI32(bytes, at + 4);
    record.edgeCount = ReadI16(bytes, at + 8);
    record.texInfo = ReadI16(bytes, at + 10);
    at = GetBytes(bytes, at + 12, record.styles);
    record.lightOffset = ReadI32(bytes, at);
}

void Decode(std::string_view bytes, std::size_t at, ClipNodeRecord& record) {
    record.plane = ReadI32(bytes, at);
    GetShorts(bytes, at + 4, record.children);
}

void Decode(std::string_view bytes, std::size_t at, LeafRecord& record) {
    record.contents = ReadI32(bytes, at);
    record.visOffset = ReadI32(bytes, at + 4);
    at = GetShorts(bytes, at + 8, record.mins);
    at = GetShorts(bytes, at, record.maxs);
    record.firstMarkSurface = ReadU16(bytes, at);
    record.markSurfaceCount = ReadU16(bytes, at + 2);
    GetBytes(bytes, at + 4, record.ambient);
}

void Decode(std::string_view bytes, std::size_t at, EdgeRecord& record) {
    record.vertices = {ReadU16(bytes, at), ReadU16(bytes, at + 2)};
}

void Decode(std::string_view bytes, std::size_t at, ModelRecord& record) {
    at = GetFloats(bytes, at, record.mins);
    at = GetFloats(bytes, at, record.maxs);
    at = GetFloats(bytes, at, record.origin);
    for (std::int32_t& head : record.headNodes) {
        head = ReadI32(bytes, at);
        at += 4;
    }
    record.visLeaves = ReadI32(bytes, at);
    record.firstFace = ReadI32(bytes, at + 4);
    record.faceCount = ReadI32(bytes, at + 8);
}

void Decode(std::string_view bytes, std::size_t at, MipTexRecord& record) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), record.name.size(),
                record.name.begin());
    at += record.name.size();
    record.width = ReadU32(bytes, at);
    record.height = ReadU32(bytes, at + 4);
    at += 8;
    for (std::uint32_t& offset : record.offsets) {
        offset = ReadU32(bytes, at);
        at += 4;
    }
}

} // namespace ballotine::bsp

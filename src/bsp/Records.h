#pragma once

#include "bsp/BspFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace ballotine::bsp {

// Each record type appended to a lump in the file's layout, and read back from `bytes` at
// `at` (which the caller has checked: a whole record lies there).
void Encode(std::string& out, const PlaneRecord& record);
void Encode(std::string& out, const Vertex& record);
void Encode(std::string& out, const NodeRecord& record);
void Encode(std::string& out, const TexInfoRecord& record);
void Encode(std::string& out, const FaceRecord& record);
void Encode(std::string& out, const ClipNodeRecord& record);
void Encode(std::string& out, const LeafRecord& record);
void Encode(std::string& out, const EdgeRecord& record);
void Encode(std::string& out, const ModelRecord& record);
void Encode(std::string& out, const MipTexRecord& record);

void Decode(std::string_view bytes, std::size_t at, PlaneRecord& record);
void Decode(std::string_view bytes, std::size_t at, Vertex& record);
void Decode(std::string_view bytes, std::size_t at, NodeRecord& record);
void Decode(std::string_view bytes, std::size_t at, TexInfoRecord& record);
void Decode(std::string_view bytes, std::size_t at, FaceRecord& record);
void Decode(std::string_view bytes, std::size_t at, ClipNodeRecord& record);
void Decode(std::string_view bytes, std::size_t at, LeafRecord& record);
void Decode(std::string_view bytes, std::size_t at, EdgeRecord& record);
void Decode(std::string_view bytes, std::size_t at, ModelRecord& record);
void Decode(std::string_view bytes, std::size_t at, MipTexRecord& record);

template <typename Record>
std::string EncodeAll(const std::vector<Record>& records) {
    std::string out;
    for (const Record& record : records) {
        Encode(out, record);
    }
    return out;
}

// Every record of a lump whose length is a whole number of `recordSize` records.
template <typename Record>
std::vector<Record> DecodeAll(std::string_view lump, std::size_t recordSize) {
    std::vector<Record> records(lump.size() / recordSize);
    for (std::size_t i = 0; i < records.size(); ++i) {
        Decode(lump, i * recordSize, records[i]);
    }
    return records;
}

} // namespace ballotine::bsp

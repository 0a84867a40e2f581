#include "TestMaps.h"

namespace ballotine::ripent {

std::string ComposeMap(const std::array<std::string, kLumpCount>& lumps) {
    BspHeader header;
    for (int i = 0; i < kLumpCount; ++i) {
        header.lumps[i] = Lump{i, static_cast<std::int64_t>(lumps[i].size())};
    }
    header.lumps = PlanLayout(header.lumps, header.lumps[kEntityLump].length);
    std::string map = EncodeHeader(header);
    for (int i = 0; i < kLumpCount; ++i) {
        map.append(lumps[i]);
        map.resize(static_cast<std::size_t>(AlignedTo4(static_cast<std::int64_t>(map.size()))));
    }
    return map;
}

std::string_view LumpBytes(std::string_view map, int index) {
    const Lump lump = DecodeHeader(map).lumps[static_cast<std::size_t>(index)];
    return map.substr(static_cast<std::size_t>(lump.offset), static_cast<std::size_t>(lump.length));
}

} // namespace ballotine::ripent

#pragma once

#include "bsp/LumpTable.h"

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine::bsp {

// Takes the next bytes of a file being written; false when they could not be written.
using ByteSink = std::function<bool(std::string_view)>;

// A map opened for reading whose header has been checked: version 30 and a lump table that
// fits the file. Lump bytes are read only when asked for, straight from the file, so a large
// map is never held in memory whole.
class BspFile {
public:
    // Nothing, with `error` set, when the stream cannot be read or holds no usable BSP 30
    // map. The caller opens the file (it knows how its paths are spelt).
    static std::optional<BspFile> Open(std::ifstream stream, std::string& error);

    const LumpTable& Lumps() const { return m_header.lumps; }

    std::optional<std::string> ReadLump(int index, std::string& error);

    // Writes the map to `out` with `entityLump` as lump 0; every other lump keeps its bytes
    // and the lumps keep their order in the file.
    bool WriteWithEntities(const ByteSink& out, std::string_view entityLump, std::string& error);

private:
    BspFile(std::ifstream stream, const BspHeader& header)
        : m_stream(std::move(stream)), m_header(header) {}

    bool CopyBytes(const ByteSink& out, const Lump& lump, std::string& buffer, std::string& error);

    std::ifstream m_stream;
    BspHeader m_header;
};

} // namespace ballotine::bsp

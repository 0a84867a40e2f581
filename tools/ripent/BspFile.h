#pragma once

#include "ripent/LumpTable.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {
class AtomicFile;
}

namespace ballotine::ripent {

// A map opened for reading whose header has been checked: version 30 and a lump table that
// fits the file. Lump bytes are read only when asked for, straight from the file.
class BspFile {
public:
    // Nothing, with `error` set, when the file cannot be read or is no usable BSP 30 map.
    static std::optional<BspFile> Open(const std::filesystem::path& path, std::string& error);

    const LumpTable& Lumps() const { return m_header.lumps; }

    std::optional<std::string> ReadLump(int index, std::string& error);

    // Writes the map to `out` with `entityLump` as lump 0; every other lump keeps its bytes.
    bool WriteWithEntities(AtomicFile& out, std::string_view entityLump, std::string& error);

private:
    BspFile(std::ifstream stream, std::int64_t size, const BspHeader& header)
        : m_stream(std::move(stream)), m_size(size), m_header(header) {}

    bool CopyBytes(AtomicFile& out, const Lump& lump, std::string& buffer, std::string& error);

    std::ifstream m_stream;
    std::int64_t m_size = 0;
    BspHeader m_header;
};

} // namespace ballotine::ripent

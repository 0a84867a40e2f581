#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ballotine::test {

// Writes zip archives with any entry names at all, hostile ones included, through
// libarchive's writer.
class ZipBuilder {
public:
    ZipBuilder& File(std::string name, std::string content, unsigned mode = 0644);
    // A file of `size` zero bytes, written in pieces so the test itself stays small.
    ZipBuilder& ZeroFile(std::string name, std::uint64_t size);
    ZipBuilder& Folder(std::string name);
    ZipBuilder& Link(std::string name, std::string target);
    // Stored (not deflated) content lies in the archive as it is, so a test can damage it.
    ZipBuilder& Stored();

    void Save(const std::filesystem::path& path) const;

private:
    enum class Kind { File, ZeroFile, Folder, Link };
    struct Entry {
        Kind kind;
        std::string name;
        std::string content; // file content or link target
        std::uint64_t size = 0;
        unsigned mode = 0644;
    };
    std::vector<Entry> m_entries;
    bool m_stored = false;
};

} // namespace ballotine::test

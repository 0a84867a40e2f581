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
    ZipBuilder& File(std::string name, std::string content, unsigned mode = 0644) {
        return Add(Kind::File, std::move(name), std::move(content), 0, mode);
    }
    // A file of `size` zero bytes, written in pieces so the test itself stays small.
    ZipBuilder& ZeroFile(std::string name, std::uint64_t size) {
        return Add(Kind::ZeroFile, std::move(name), {}, size, 0644);
    }
    ZipBuilder& Folder(std::string name) { return Add(Kind::Folder, std::move(name), {}, 0, 0755); }
    ZipBuilder& Link(std::string name, std::string target) {
        return Add(Kind::Link, std::move(name), std::move(target), 0, 0777);
    }
    // Stored (not deflated) content lies in the archive as it is, so a test can damage it.
    ZipBuilder& Stored() {
        m_stored = true;
        return *this;
    }
    void Save(const std::filesystem::path& path) const;

private:
    enum class Kind { File, ZeroFile, Folder, Link };
    struct Entry {
        Kind kind;
        std::string name;
        std::string content; // file content or link target
        std::uint64_t size;
        unsigned mode;
    };
    ZipBuilder& Add(Kind kind, std::string name, std::string content, std::uint64_t size,
                    unsigned mode) {
        size = kind == Kind::File ? content.size() : size;
        m_entries.push_back({kind, std::move(name), std::move(content), size, mode});
        return *this;
    }
    std::vector<Entry> m_entries;
    bool m_stored = false;
};

} // namespace ballotine::test

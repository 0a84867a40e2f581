#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct archive;

namespace ballotine::pkzip25 {
class ExpansionBudget;
}

namespace ballotine::pkzip25 {

enum class EntryKind { File, Folder, Link, Other };

// What the tool needs to know of one archive entry.
struct ZipEntry {
    std::string name; // as stored, separators untouched
    EntryKind kind = EntryKind::File;
    std::string linkTarget;               // for a link
    unsigned mode = 0;                    // permission bits as stored
    std::optional<std::int64_t> modified; // seconds since 1970, when stored
    bool encrypted = false;
    std::uint64_t declaredSize = 0; // the content's size as the headers give it
};

// Reads a zip archive through libarchive, one entry after the other, the content streamed
// in blocks so memory does not grow with the size of a file.
//
// The archive is read by its central directory, so a truncated download is refused before
// a single entry is seen, and two readers over the same file see the same entries.
class ZipReader {
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Starts reading the archive open on `fd` (which stays the caller's) from the beginning.
    bool Open(int fd, std::string& reason);

    enum class Step { Entry, End, Failed };
    Step Next(ZipEntry& entry, std::string& reason);

    // Writes the current entry's content to `fd`, each block charged to `budget` before it
    // is written. Fails on damaged or unreadable content (a CRC mismatch, more content than
    // the entry declares), past the budget, and on a write error.
    bool CopyContentTo(int fd, ExpansionBudget& budget, std::string& reason);

private:
    struct Free {
        void operator()(archive* handle) const;
    };
    std::unique_ptr<archive, Free> m_archive;
    std::uint64_t m_declaredSize = 0;
};

} // namespace ballotine::pkzip25

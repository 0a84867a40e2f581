#pragma once

#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWalk.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace ballotine::pkzip25 {

// Writes the entries of one archive into the target folder, all or nothing.
//
// Each file is first written whole under a temporary name in its own folder; only when every
// entry has been written does `Commit` rename them over their names. Until then no existing
// file is touched, and if the writer goes away uncommitted it removes its temporary files and
// the folders it made, so a damaged archive or a full disk leaves the target as it was.
// Folders below the target are opened one component at a time without following links.
class FolderWriter {
public:
    FolderWriter() = default;
    ~FolderWriter();
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    // Opens the target folder, making it (and missing parents) when needed. `newFolders` are
    // the folders below it that the entries need and that are not there yet, each after its
    // parent: the ones removed again when the writer goes away uncommitted.
    bool Open(const std::filesystem::path& target, std::vector<std::string> newFolders,
              std::string& reason);

    // Makes a folder below the target ("/"-separated; empty is the target itself).
    bool MakeFolder(const std::string& folder, std::string& reason);

    // Fills a new file for `folder`/`name` through `fill`, which writes the content to the
    // descriptor it is given. `executable` gives 0755 instead of 0644 (before the umask).
    using Filler = std::function<bool(int fd, std::string& reason)>;
    bool StageFile(const std::string& folder, const std::string& name, bool executable,
                   std::optional<std::int64_t> modified, const Filler& fill, std::string& reason);

    // Gives every staged file its name, replacing what is there (a link is replaced, not
    // followed).
    bool Commit(std::string& reason);

private:
    struct Staged {
        std::string folder;
        std::string temporary;
        std::string name;
    };

    void Discard();

    std::filesystem::path m_target;
    FileDescriptor m_root;
    std::optional<FolderCursor> m_cursor;
    std::vector<Staged> m_staged;
    std::size_t m_committed = 0;
    std::vector<std::string> m_newFolders;           // relative to the target
    std::vector<std::filesystem::path> m_madeTarget; // the target and its parents we made
    std::mt19937_64 m_random{std::random_device{}()};
};

} // namespace ballotine::pkzip25

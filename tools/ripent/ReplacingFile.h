#pragma once

#include "platform/BufferedWriter.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine::ripent {

// Replaces one file (a map or its entity text) whole or not at all.
//
// The new content goes to ".NAME.ripent-PID-N.tmp" beside the file, locked while this run
// writes it, and is renamed over the file at the end with the file's permissions, owner and
// group. A file this run may not write (read-only, or owned by someone it cannot give the
// new file to) is refused before anything is written. A killed run leaves its temporary file
// behind; RemoveLeftovers recognises those by name, dead writer and free lock.
class ReplacingFile {
public:
    // Nothing, with `error` naming the reason, when the file may not be replaced.
    static std::optional<ReplacingFile> Open(const std::filesystem::path& target,
                                             std::string& error);
    ~ReplacingFile();
    ReplacingFile(ReplacingFile&& other) noexcept;
    ReplacingFile& operator=(ReplacingFile&&) = delete;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False once a write failed; later writes do nothing.
    bool Write(std::string_view bytes);
    // Makes the content the file's. False, with the file unchanged, on any failure.
    bool Commit();

private:
    ReplacingFile(std::filesystem::path target, std::filesystem::path temporary, int fd)
        : m_target(std::move(target)), m_temporary(std::move(temporary)), m_fd(fd), m_writer(fd) {}
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    BufferedWriter m_writer;
};

// Removes the temporary files that runs killed while replacing `target` left beside it: those
// named as ReplacingFile names them (or as earlier versions of this tool did, by a process
// id), whose writing process has ended and whose lock nobody holds.
void RemoveLeftovers(const std::filesystem::path& target);

} // namespace ballotine::ripent

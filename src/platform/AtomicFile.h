#pragma once

#include "platform/BufferedWriter.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// Writes a file so that it is either replaced whole or not at all.
//
// The content goes to a temporary file beside the target; `Commit` flushes it, checks that
// every write succeeded and renames it over the target. Until then the target keeps its old
// content; if anything fails, or the writer is destroyed without `Commit`, the temporary file
// is removed and the target is untouched.
class AtomicFile {
public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&& other) noexcept;

    bool IsOpen() const { return m_fd >= 0; }
    // False once any write failed; later writes do nothing.
    bool Write(std::string_view bytes);
    // Drops everything written so far, to write the content again from its start (a
    // download whose server cannot resume). False when the file is not open or cannot be
    // emptied.
    bool Restart();
    // Permission bits for the new file (default: those of the file it replaces, or the
    // usual ones for a new file).
    void KeepMode(unsigned mode) { m_mode = mode; }
    // Makes the content the target's. False, with the target unchanged, on any failure.
    bool Commit();
    // Drops the content; the target stays as it was.
    void Discard();

    // The target as resolved on disk.
    const std::filesystem::path& Target() const { return m_target; }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    std::optional<unsigned> m_mode;
    BufferedWriter m_writer;
};

// Convenience: the whole content in one go.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

// Removes the temporary files in `folder` that writers left when they were killed before they
// could commit or discard (their process is gone); those of running writers stay.
void RemoveAbandonedTemporaryFiles(const std::filesystem::path& folder);

} // namespace ballotine

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// What one run that sets up a game made, so that a failure can take all of it back. Every
// change goes through the journal (or is recorded in it right after another function made it);
// nothing is ever replaced but the files given to Replace, whose old content is kept.
class SetupJournal {
public:
    // Makes a folder and its missing parents, recording each one made. False, with Error()
    // set, when one cannot be made.
    bool MakeFolders(const std::filesystem::path& folder);
    // Writes a file that does not exist yet, whole or not at all.
    bool WriteNew(const std::filesystem::path& file, std::string_view content);
    // Copies a file to a name that does not exist yet, keeping its permission bits.
    bool CopyNew(const std::filesystem::path& from, const std::filesystem::path& to);
    // Replaces an existing file whole; Undo puts its old content back.
    bool Replace(const std::filesystem::path& file, std::string_view content);
    // Records a file another function made.
    void Adopt(const std::filesystem::path& file);

    // What was made, folders and files, in order; a folder ends with the separator.
    std::vector<std::string> Made() const;
    // Why the last step failed, naming its file.
    const std::string& Error() const { return m_error; }
    void Fail(std::string error) { m_error = std::move(error); }

    // Takes everything back, last first: made files deleted, replaced files restored, made
    // folders removed (when empty).
    void Undo();

private:
    struct Change {
        std::filesystem::path path;
        bool isFolder = false;
        std::optional<std::string> oldContent; // a replaced file
    };
    bool Failed(std::string_view what, const std::filesystem::path& path);

    std::vector<Change> m_changes;
    std::string m_error;
};

} // namespace ballotine

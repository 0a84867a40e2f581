#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The update server's folder while a publish writes it. New files are first written into a
// staging folder inside it; Commit then renames them into place in the order given (packages
// before the lists that name them), keeping a link to every file it replaces until all are in.
// If anything fails, every file put in place is taken back: a reader sees the old lists or the
// new ones, and a failed publish leaves the folder as it was (a folder that did not exist is
// removed again). One publish at a time: the folder is locked while this object lives.
class DestFolder {
public:
    // Creates the folder when missing and locks it; nothing, with `error` set, when it cannot,
    // or when another publish holds it.
    static std::optional<DestFolder> Open(const std::filesystem::path& folder, std::string& error);
    ~DestFolder();
    DestFolder(DestFolder&& other) noexcept;
    DestFolder& operator=(DestFolder&&) = delete;
    DestFolder(const DestFolder&) = delete;
    DestFolder& operator=(const DestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes a file to be put at `relative` ("/" between folders) by Commit.
    bool Stage(const std::string& relative, std::string_view bytes, std::string& error);
    // A scratch file of the staging folder that Commit does not put in place.
    std::filesystem::path ScratchPath(const std::string& relative);

    // Puts the staged files in place in the order they were staged; false, with everything
    // taken back, when one cannot be.
    bool Commit(std::string& error);
    // After a commit: deletes files the server no longer offers and the folders they leave
    // empty; what cannot be deleted is reported in `warnings`.
    void Remove(const std::vector<std::string>& relatives, std::vector<std::string>& warnings);

private:
    DestFolder(std::filesystem::path path, int lockFd, bool created);
    std::filesystem::path Staging() const;
    void Rollback(std::size_t placed);
    void RemoveStaging();

    std::filesystem::path m_path;
    int m_lockFd = -1;
    bool m_created = false; // made by this publish: removed again if nothing is committed
    bool m_committed = false;
    std::vector<std::string> m_staged; // in staging order
    std::vector<bool> m_replaced;      // per staged file: an older file was backed up
    std::vector<std::filesystem::path> m_createdFolders; // by Open: DEST and missing parents
    std::vector<std::filesystem::path> m_madeFolders;    // by Commit, below DEST
};

inline constexpr const char* kStagingFolderName = ".publish-staging";

} // namespace ballotine

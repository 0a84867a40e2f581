#include "models/SetupJournal.h"

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(ResolveCase(path), error).type() != fs::file_type::not_found;
}

} // namespace

bool SetupJournal::Failed(std::string_view what, const fs::path& path) {
    const int error = errno;
    m_error = "cannot " + std::string(what) + " " + path.string() +
              (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
    return false;
}

bool SetupJournal::MakeFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : ResolveCase(folder).lexically_normal()) {
        made /= part;
        if (part.empty() || FolderExists(made)) {
            continue;
        }
        errno = 0;
        if (Exists(made)) {
            errno = ENOTDIR;
            return Failed("make the folder", made);
        }
        if (::mkdir(made.c_str(), 0777) != 0) {
            return Failed("make the folder", made);
        }
        m_changes.push_back({made, true, std::nullopt});
    }
    return true;
}

bool SetupJournal::WriteNew(const fs::path& file, std::string_view content) {
    errno = 0;
    if (Exists(file)) {
        errno = EEXIST;
        return Failed("write", file);
    }
    AtomicFile out(file);
    if (!out.IsOpen() || !out.Write(content) || !out.Commit()) {
        return Failed("write", file);
    }
    m_changes.push_back({ResolveCase(file), false, std::nullopt});
    return true;
}

bool SetupJournal::CopyNew(const fs::path& from, const fs::path& to) {
    errno = 0;
    if (Exists(to)) {
        errno = EEXIST;
        return Failed("write", to);
    }
    if (!CopyFileReplacing(from, to)) {
        return Failed("copy " + from.string() + " to", to);
    }
    m_changes.push_back({ResolveCase(to), false, std::nullopt});
    return true;
}

bool SetupJournal::Replace(const fs::path& file, std::string_view content) {
    errno = 0;
    std::optional<std::string> old = ReadWholeFile(file);
    if (!old) {
        return Failed("read", file);
    }
    if (!WriteFileAtomically(file, content)) {
        return Failed("write", file);
    }
    m_changes.push_back({ResolveCase(file), false, std::move(old)});
    return true;
}

void SetupJournal::Adopt(const fs::path& file) {
    m_changes.push_back({ResolveCase(file), false, std::nullopt});
}

std::vector<std::string> SetupJournal::Made() const {
    std::vector<std::string> made;
    for (const Change& change : m_changes) {
        if (!change.oldContent) {
            made.push_back(change.path.string() + (change.isFolder ? "/" : ""));
        }
    }
    return made;
}

void SetupJournal::Undo() {
    for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change) {
        if (change->isFolder) {
            RemoveFolder(change->path);
        } else if (change->oldContent) {
            WriteFileAtomically(change->path, *change->oldContent);
        } else {
            DeleteFile(change->path);
        }
    }
    m_changes.clear();
}

} // namespace ballotine

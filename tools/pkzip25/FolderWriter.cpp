#include "pkzip25/FolderWriter.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/FolderWalk.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {
namespace fs = std::filesystem;

namespace {

// Makes each missing folder of `target`, outermost first, and records what it made.
bool MakeTargetFolders(const fs::path& target, std::vector<fs::path>& made, std::string& reason) {
    fs::path walked;
    for (const fs::path& component : target) {
        walked /= component;
        if (component.empty()) {
            continue;
        }
        struct stat info {};
        if (::stat(walked.c_str(), &info) == 0) {
            continue;
        }
        if (errno != ENOENT || (::mkdir(walked.c_str(), 0755) != 0 && errno != EEXIST)) {
            reason =
                Format("cannot create target folder %s: %s", walked.c_str(), std::strerror(errno));
            return false;
        }
        made.push_back(walked);
    }
    return true;
}

} // namespace

FolderWriter::~FolderWriter() {
    Discard();
}

bool FolderWriter::Open(const fs::path& target, std::vector<std::string> newFolders,
                        std::string& reason) {
    m_target = target;
    m_newFolders = std::move(newFolders);
    if (!MakeTargetFolders(target, m_madeTarget, reason)) {
        return false;
    }
    m_root = FileDescriptor(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_root.IsOpen()) {
        reason = Format("cannot open target folder %s: %s", target.c_str(), std::strerror(errno));
        return false;
    }
    m_cursor.emplace(m_root.Get());
    return true;
}

bool FolderWriter::MakeFolder(const std::string& folder, std::string& reason) {
    return m_cursor->Open(folder, true, reason) >= 0;
}

bool FolderWriter::StageFile(const std::string& folder, const std::string& name, bool executable,
                             std::optional<std::int64_t> modified, const Filler& fill,
                             std::string& reason) {
    const int folderFd = m_cursor->Open(folder, true, reason);
    if (folderFd < 0) {
        return false;
    }
    const std::string shownName = Printable(JoinRelative(folder, name));
    // A short name of our own (the entry's name plus a suffix could exceed the name limit),
    // random so that no entry of the archive can be named after it.
    std::string temporary;
    FileDescriptor file;
    for (int attempt = 0; attempt < 100 && !file.IsOpen(); ++attempt) {
        temporary = Format(".pkzip25-%016llx", static_cast<unsigned long long>(m_random()));
        file = FileDescriptor(::openat(folderFd, temporary.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                       executable ? 0755 : 0644));
        if (!file.IsOpen() && errno != EEXIST) {
            break;
        }
    }
    if (!file.IsOpen()) {
        reason = Format("cannot write '%s': %s", shownName.c_str(), std::strerror(errno));
        return false;
    }
    m_staged.push_back(Staged{folder, temporary, name});

    std::string why;
    if (!fill(file.Get(), why)) {
        reason = Format("cannot extract '%s': %s", shownName.c_str(), why.c_str());
        return false;
    }
    if (modified) {
        const timespec times[2] = {{static_cast<time_t>(*modified), 0},
                                   {static_cast<time_t>(*modified), 0}};
        ::futimens(file.Get(), times); // a file without its date is still the right file
    }
    if (!file.Close()) {
        reason = Format("cannot write '%s': %s", shownName.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

bool FolderWriter::Commit(std::string& reason) {
    for (; m_committed < m_staged.size(); ++m_committed) {
        const Staged& staged = m_staged[m_committed];
        const int folderFd = m_cursor->Open(staged.folder, false, reason);
        if (folderFd < 0) {
            return false;
        }
        if (::renameat(folderFd, staged.temporary.c_str(), folderFd, staged.name.c_str()) != 0) {
            reason = Format("cannot replace '%s': %s",
                            Printable(JoinRelative(staged.folder, staged.name)).c_str(),
                            std::strerror(errno));
            return false;
        }
    }
    m_newFolders.clear();
    m_madeTarget.clear();
    return true;
}

void FolderWriter::Discard() {
    std::string ignored;
    for (std::size_t i = m_committed; i < m_staged.size(); ++i) {
        const int folderFd = m_cursor ? m_cursor->Open(m_staged[i].folder, false, ignored) : -1;
        if (folderFd >= 0) {
            ::unlinkat(folderFd, m_staged[i].temporary.c_str(), 0);
        }
    }
    m_staged.clear();
    m_committed = 0;
    m_cursor.reset();
    // Innermost first; a folder that is not empty (a partial commit) simply stays.
    for (auto it = m_newFolders.rbegin(); m_root.IsOpen() && it != m_newFolders.rend(); ++it) {
        ::unlinkat(m_root.Get(), it->c_str(), AT_REMOVEDIR);
    }
    m_newFolders.clear();
    for (auto it = m_madeTarget.rbegin(); it != m_madeTarget.rend(); ++it) {
        ::rmdir(it->c_str());
    }
    m_madeTarget.clear();
}

} // namespace ballotine::pkzip25

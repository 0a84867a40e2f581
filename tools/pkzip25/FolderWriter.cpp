#include "pkzip25/FolderWriter.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/RunUndo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {
namespace fs = std::filesystem;

namespace {

// Renames `from` to `to` in one folder unless `to` exists. File systems that do not know the
// flag get a look first, which is as good while no other program writes the same name.
int RenameNoReplace(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    struct stat info {};
    if (::fstatat(folder, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(folder, from.c_str(), folder, to.c_str());
}

} // namespace

FolderWriter::~FolderWriter() {
    std::string ignored;
    Abandon(ignored);
}

bool FolderWriter::Allowed(Change change, std::string_view what) const {
    if (m_gate && !m_gate(change, what)) {
        errno = EIO;
        return false;
    }
    return true;
}

// Makes each missing folder of `target`, outermost first, and records what it made.
bool FolderWriter::MakeTargetFolders(const fs::path& target, std::string& reason) {
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
        if (errno != ENOENT || !Allowed(Change::MakeFolder, walked.native()) ||
            (::mkdir(walked.c_str(), 0755) != 0 && errno != EEXIST)) {
            reason = Format("cannot create target folder %s: %s",
                            Printable(walked.native()).c_str(), std::strerror(errno));
            return false;
        }
        m_record.madeAbove.push_back(walked.native());
    }
    return true;
}

bool FolderWriter::Begin(const fs::path& target, std::vector<std::string> newFolders,
                         std::vector<WorkRecord::File> files, std::string& reason) {
    m_record.id = NewRunId();
    if (!MakeTargetFolders(target, reason)) {
        return false;
    }
    m_root = FileDescriptor(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_root.IsOpen()) {
        reason = Format("cannot open target folder %s: %s", Printable(target.native()).c_str(),
                        std::strerror(errno));
        return false;
    }
    m_record.newFolders = std::move(newFolders);
    m_record.files = std::move(files);
    if (!m_recordFile.Create(m_root.Get(), RecordName(m_record.id), EncodePlan(m_record), m_gate,
                             reason)) {
        return false;
    }
    m_cursor.emplace(m_root.Get(), m_gate);
    return true;
}

bool FolderWriter::MakeFolder(const std::string& folder, std::string& reason) {
    return m_cursor->Open(folder, true, reason) >= 0;
}

bool FolderWriter::StageFile(std::size_t index, bool executable,
                             std::optional<std::int64_t> modified, const Filler& fill,
                             std::string& reason) {
    const WorkRecord::File& file = m_record.files[index];
    const int folderFd = m_cursor->Open(file.folder, true, reason);
    if (folderFd < 0) {
        return false;
    }
    const std::string shown = Printable(JoinRelative(file.folder, file.name));
    const std::string workName = NewName(m_record.id, index);
    FileDescriptor out;
    if (Allowed(Change::CreateFile, JoinRelative(file.folder, workName))) {
        out = FileDescriptor(::openat(folderFd, workName.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                      executable ? 0755 : 0644));
    }
    if (!out.IsOpen()) {
        reason = Format("cannot write '%s': %s", shown.c_str(), std::strerror(errno));
        return false;
    }
    std::string why;
    if (!fill(out.Get(), why)) {
        reason = Format("cannot extract '%s': %s", shown.c_str(), why.c_str());
        return false;
    }
    if (modified) {
        const timespec times[2] = {{static_cast<time_t>(*modified), 0},
                                   {static_cast<time_t>(*modified), 0}};
        ::futimens(out.Get(), times); // a file without its date is still the right file
    }
    if (!out.Close()) {
        reason = Format("cannot write '%s': %s", shown.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

bool FolderWriter::RenameEach(std::string& reason) {
    for (std::size_t index = 0; index < m_record.files.size(); ++index) {
        const WorkRecord::File& file = m_record.files[index];
        const int folder = m_cursor->Open(file.folder, false, reason);
        if (folder < 0) {
            return false;
        }
        const std::string shown = JoinRelative(file.folder, file.name);
        // A name emptied since the plan was made simply gets the new file.
        if (file.replaces &&
            (!Allowed(Change::KeepAside, shown) ||
             RenameNoReplace(folder, file.name, KeptName(m_record.id, index)) != 0) &&
            errno != ENOENT) {
            reason =
                Format("cannot replace '%s': %s", Printable(shown).c_str(), std::strerror(errno));
            return false;
        }
        if (!Allowed(Change::Rename, shown) ||
            RenameNoReplace(folder, NewName(m_record.id, index), file.name) != 0) {
            reason = errno == EEXIST
                         ? Format("'%s' appeared in the target folder while the archive was "
                                  "unpacked",
                                  Printable(shown).c_str())
                         : Format("cannot write '%s': %s", Printable(shown).c_str(),
                                  std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool FolderWriter::Commit(std::string& reason) {
    if (!m_recordFile.Append(EncodeStage(WorkRecord::Stage::Renaming), m_gate, reason)) {
        return false;
    }
    m_record.stage = WorkRecord::Stage::Renaming;
    if (!RenameEach(reason) ||
        !m_recordFile.Append(EncodeStage(WorkRecord::Stage::Done), m_gate, reason)) {
        return false;
    }
    m_record.stage = WorkRecord::Stage::Done;
    m_finished = true;
    CleanUp();
    return true;
}

// Every file has its name: the kept ones go. What cannot go now stays with the record for
// the next run, the extraction itself being complete.
void FolderWriter::CleanUp() {
    m_cursor.reset();
    std::string ignored;
    if (FinishRun(m_root.Get(), m_record, m_gate, ignored)) {
        m_recordFile.Remove(m_gate, ignored);
    }
}

void FolderWriter::Abandon(std::string& reason) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_cursor.reset();
    if (m_recordFile.IsOpen()) {
        std::string why;
        if (!UndoRun(m_root.Get(), m_record, m_gate, why) || !m_recordFile.Remove(m_gate, why)) {
            if (!reason.empty()) {
                reason += Format("; what was changed could not all be undone (%s), the next run "
                                 "into this folder undoes the rest",
                                 why.c_str());
            }
            return;
        }
    }
    m_root.Close();
    RemoveFoldersAbove(m_record, m_gate);
}

} // namespace ballotine::pkzip25

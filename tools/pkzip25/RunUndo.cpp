#include "pkzip25/RunUndo.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/FolderWalk.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {

namespace {

bool Exists(int folder, const std::string& name) {
    struct stat info {};
    return ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// One change through the gate; false with errno set when it did not happen.
template <typename Act>
bool Make(const ChangeGate& gate, Change change, std::string_view what, Act act) {
    if (gate && !gate(change, what)) {
        errno = EIO;
        return false;
    }
    return act() == 0;
}

bool Failed(std::string& reason, const char* doing, const std::string& what) {
    if (reason.empty()) {
        reason = Format("cannot %s '%s': %s", doing, Printable(what).c_str(), std::strerror(errno));
    }
    return false;
}

// The open folder of `file`, or -1; -1 with nothing to report when the folder is gone, since
// then nothing of the file is left to undo.
int FolderOf(FolderCursor& cursor, const std::string& folder, bool& gone, std::string& reason) {
    std::string why;
    const int fd = cursor.Open(folder, false, why);
    gone = fd < 0 && errno == ENOENT;
    if (fd < 0 && !gone && reason.empty()) {
        reason = why;
    }
    return fd;
}

bool UndoFile(FolderCursor& cursor, const WorkRecord& record, std::size_t index,
              const ChangeGate& gate, std::string& reason) {
    const WorkRecord::File& file = record.files[index];
    bool gone = false;
    const int folder = FolderOf(cursor, file.folder, gone, reason);
    if (folder < 0) {
        return gone;
    }
    const std::string shown = JoinRelative(file.folder, file.name);
    const std::string kept = KeptName(record.id, index);
    const std::string fresh = NewName(record.id, index);
    bool undone = true;
    if (Exists(folder, kept)) {
        if (!Make(gate, Change::PutBack, shown,
                  [&] { return ::renameat(folder, kept.c_str(), folder, file.name.c_str()); })) {
            undone = Failed(reason, "put back", shown);
        }
    } else if (record.stage != WorkRecord::Stage::Writing && !file.replaces &&
               !Exists(folder, fresh) && Exists(folder, file.name)) {
        // Renamed into a name that was free: the run made this file.
        if (!Make(gate, Change::Remove, shown,
                  [&] { return ::unlinkat(folder, file.name.c_str(), 0); })) {
            undone = Failed(reason, "remove", shown);
        }
    }
    if (Exists(folder, fresh) && !Make(gate, Change::Remove, JoinRelative(file.folder, fresh),
                                       [&] { return ::unlinkat(folder, fresh.c_str(), 0); })) {
        undone = Failed(reason, "remove", JoinRelative(file.folder, fresh));
    }
    return undone;
}

// Innermost first; a folder something else has since filled stays.
bool RemoveNewFolders(FolderCursor& cursor, const WorkRecord& record, const ChangeGate& gate,
                      std::string& reason) {
    bool removed = true;
    for (auto it = record.newFolders.rbegin(); it != record.newFolders.rend(); ++it) {
        const std::size_t cut = it->rfind('/');
        const std::string parentPath = cut == std::string::npos ? "" : it->substr(0, cut);
        const std::string name = cut == std::string::npos ? *it : it->substr(cut + 1);
        bool gone = false;
        const int parent = FolderOf(cursor, parentPath, gone, reason);
        if (parent < 0) {
            removed = removed && gone;
            continue;
        }
        if (!Exists(parent, name)) {
            continue;
        }
        if (!Make(gate, Change::Remove, *it,
                  [&] { return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR); }) &&
            errno != ENOTEMPTY && errno != EEXIST && errno != ENOENT) {
            removed = Failed(reason, "remove folder", *it);
        }
    }
    return removed;
}

} // namespace

bool UndoRun(int root, const WorkRecord& record, const ChangeGate& gate, std::string& reason) {
    FolderCursor cursor(root, {});
    bool undone = true;
    for (std::size_t index = record.files.size(); index-- > 0;) {
        undone = UndoFile(cursor, record, index, gate, reason) && undone;
    }
    return RemoveNewFolders(cursor, record, gate, reason) && undone;
}

bool FinishRun(int root, const WorkRecord& record, const ChangeGate& gate, std::string& reason) {
    FolderCursor cursor(root, {});
    bool finished = true;
    // Every new file has its name by now; only the files that were replaced have a kept one.
    for (std::size_t index = 0; index < record.files.size(); ++index) {
        const WorkRecord::File& file = record.files[index];
        if (!file.replaces) {
            continue;
        }
        bool gone = false;
        const int folder = FolderOf(cursor, file.folder, gone, reason);
        if (folder < 0) {
            finished = finished && gone;
            continue;
        }
        const std::string kept = KeptName(record.id, index);
        if (Exists(folder, kept) && !Make(gate, Change::Remove, JoinRelative(file.folder, kept),
                                          [&] { return ::unlinkat(folder, kept.c_str(), 0); })) {
            finished = Failed(reason, "remove", JoinRelative(file.folder, kept));
        }
    }
    return finished;
}

void RemoveFoldersAbove(const WorkRecord& record, const ChangeGate& gate) {
    for (auto it = record.madeAbove.rbegin(); it != record.madeAbove.rend(); ++it) {
        Make(gate, Change::Remove, *it, [&] { return ::rmdir(it->c_str()); });
    }
}

} // namespace ballotine::pkzip25

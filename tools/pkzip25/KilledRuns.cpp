#include "pkzip25/KilledRuns.h"

#include "common/Text.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWalk.h"
#include "pkzip25/RecordFile.h"
#include "pkzip25/RunUndo.h"
#include "pkzip25/WorkRecord.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <vector>

namespace ballotine::pkzip25 {

namespace {

// The target and its parents a record says its run made: only those are removed.
void KeepOnlyFoldersAbove(const std::filesystem::path& target, WorkRecord& record) {
    const std::string& path = target.native();
    std::erase_if(record.madeAbove, [&](const std::string& made) {
        return made != path && !(path.starts_with(made) && path[made.size()] == '/');
    });
}

// Deals with one record; false with the reason when the run could not be undone.
bool CleanUpRun(int root, const std::filesystem::path& target, const std::string& name,
                const ChangeGate& gate, bool& cleaned, std::string& reason) {
    std::string text;
    std::optional<RecordFile> file = RecordFile::Claim(root, name, text);
    if (!file) {
        return true; // its run is alive, or another run just dealt with it
    }
    std::optional<WorkRecord> record = DecodeRecord(text, *RecordId(name));
    if (!record) {
        return true; // not one this version of the tool wrote: left alone
    }
    KeepOnlyFoldersAbove(target, *record);
    std::string why;
    const bool done = record->stage == WorkRecord::Stage::Done ? FinishRun(root, *record, gate, why)
                                                               : UndoRun(root, *record, gate, why);
    if (!done || !file->Remove(gate, why)) {
        reason =
            Format("cannot undo what a killed run left in the target folder (%s)", why.c_str());
        return false;
    }
    if (record->stage != WorkRecord::Stage::Done) {
        RemoveFoldersAbove(*record, gate);
    }
    cleaned = true;
    return true;
}

} // namespace

bool CleanUpKilledRuns(const std::filesystem::path& target, const ChangeGate& gate,
                       std::size_t& cleaned, std::string& reason) {
    cleaned = 0;
    FileDescriptor root(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.IsOpen()) {
        return true; // no target yet, or none to use: the run itself says why
    }
    std::vector<std::string> names;
    if (!ListFolder(root.Get(), [&](const dirent& item) {
            if (RecordId(item.d_name)) {
                names.emplace_back(item.d_name);
            }
        })) {
        reason = Format("cannot read the target folder: %s", std::strerror(errno));
        return false;
    }
    for (const std::string& name : names) {
        bool undone = false;
        if (!CleanUpRun(root.Get(), target, name, gate, undone, reason)) {
            return false;
        }
        cleaned += undone ? 1 : 0;
    }
    return true;
}

} // namespace ballotine::pkzip25

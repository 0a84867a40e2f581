#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::pkzip25 {

// Every name the tool makes for its own use starts with this; archive entries may not.
inline constexpr std::string_view kWorkNamePrefix = ".pkzip25-";

// What one run is about to change in the target, written into the target before its first
// change so that a later run can undo it when this one was killed.
//
// A run's work files are named after its id: the new content of file i is written as
// NewName(id, i) in the file's folder, the file it replaces is kept aside as KeptName(id, i),
// and the record itself is RecordName(id) in the target. Which of these names exist tells
// how far the run got with each file; the stage tells whether the renames had begun or were
// all done.
struct WorkRecord {
    enum class Stage { Writing, Renaming, Done };
    struct File {
        std::string folder; // below the target, "/"-separated, empty for the target itself
        std::string name;
        bool replaces = false; // something had the name when the run was planned
    };

    std::string id;
    std::vector<std::string> madeAbove;  // absolute: the target and its parents the run made
    std::vector<std::string> newFolders; // below the target, each after its parent
    std::vector<File> files;
    Stage stage = Stage::Writing;
};

std::string NewName(std::string_view id, std::size_t index);
std::string KeptName(std::string_view id, std::size_t index);
std::string RecordName(std::string_view id);
// The id when `name` is a record's name.
std::optional<std::string> RecordId(std::string_view name);
// A fresh random id.
std::string NewRunId();

// The record as written before the first change: everything but the later stage marks.
std::string EncodePlan(const WorkRecord& record);
// The line appended when the run reaches `stage`.
std::string EncodeStage(WorkRecord::Stage stage);
// Reads a record back. A record cut short (its run was killed while writing it) keeps what
// was complete and is at the Writing stage, since nothing was changed before it was whole.
// Nothing for text that is no record of this tool.
std::optional<WorkRecord> DecodeRecord(std::string_view text, std::string_view id);

} // namespace ballotine::pkzip25

#pragma once

#include <functional>
#include <string_view>

namespace ballotine::pkzip25 {

// The kinds of change the tool makes to the target, in the order a run makes them.
enum class Change {
    MakeFolder,  // a folder of the target's path or below it
    WriteRecord, // the run's record: made, or a stage appended
    CreateFile,  // a new file's content under its work name
    KeepAside,   // a file about to be replaced, renamed to its kept name
    Rename,      // a new file renamed to its own name
    PutBack,     // a kept file renamed back to its name while undoing
    Remove,      // a work file, a record, a file or folder the run made, removed
};

// Asked before every change with what it is about to change (relative to the target, or
// absolute above it). False makes that change fail as an I/O error would. Lets the tests stop
// a run at each step; the program itself allows everything.
using ChangeGate = std::function<bool(Change change, std::string_view what)>;

} // namespace ballotine::pkzip25

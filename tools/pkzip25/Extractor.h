#pragma once

#include "pkzip25/ChangeGate.h"
#include "pkzip25/ToolArguments.h"

#include <functional>
#include <string>

namespace ballotine::pkzip25 {

struct ExtractOptions {
    // Told, in one line, what the run found and dealt with besides the archive (the leftovers
    // of a killed run).
    std::function<void(const std::string& note)> note;
    // Asked before every change; the tests stop runs with it.
    ChangeGate gate;
};

// Unpacks the archive into the target folder, keeping its folders and overwriting existing
// files. Backslashes in both paths are separators, and each path names what it would on a
// file system that ignores letter case.
//
// First the leftovers of killed runs in the target are undone (see KilledRuns.h). Then every
// entry is checked before anything is written: one that would land outside the target
// (absolute, drive letter, "..", a link, a path through a link already in the target), that
// no file system could hold (see SplitEntryName), that clashes with another entry or with
// what is on disk, or an archive that would expand past its limits (see ExpansionLimit.h),
// makes the whole archive refused. Links inside the archive are refused too. Then the files
// are written and given their names all or nothing (see FolderWriter). False, with one line
// saying why in `reason`, on any failure; the target is then as it was.
bool ExtractArchive(const ExtractRequest& request, const ExtractOptions& options,
                    std::string& reason);

} // namespace ballotine::pkzip25

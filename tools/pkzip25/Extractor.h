#pragma once

#include "pkzip25/ToolArguments.h"

#include <string>

namespace ballotine::pkzip25 {

// Unpacks the archive into the target folder, keeping its folders and overwriting existing
// files. Backslashes in both paths are separators, and each path names what it would on a
// file system that ignores letter case.
//
// Every entry is checked before anything is written: one that would land outside the target
// (absolute, drive letter, "..", a link, a path through a link already in the target) makes
// the whole archive refused. Links inside the archive are refused too. False, with one line
// saying why in `reason`, on any failure; the target is then left as it was.
bool ExtractArchive(const ExtractRequest& request, std::string& reason);

} // namespace ballotine::pkzip25

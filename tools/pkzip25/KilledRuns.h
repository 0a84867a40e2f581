#pragma once

#include "pkzip25/ChangeGate.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace ballotine::pkzip25 {

// Finds the records that killed runs left in the target folder and puts things as they were
// before each run, or, for a run killed after its last rename, finishes its clean-up: kept
// files are put back, new files and work files removed, folders it made removed. Runs still
// alive (their record locked) are left alone. `cleaned` counts the runs dealt with. False,
// with the reason, when one could not be undone: its record stays, and nothing more should
// change in the target.
bool CleanUpKilledRuns(const std::filesystem::path& target, const ChangeGate& gate,
                       std::size_t& cleaned, std::string& reason);

} // namespace ballotine::pkzip25

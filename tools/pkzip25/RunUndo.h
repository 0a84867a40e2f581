#pragma once

#include "pkzip25/ChangeGate.h"
#include "pkzip25/WorkRecord.h"

#include <string>

namespace ballotine::pkzip25 {

// Takes back what the run of `record` changed below the open target folder `root`, judging
// each file by which of its names exist: a kept file is put back over its name, a new file
// the run gave a name that was free is removed, work files go, and the folders the run made
// are removed when empty. Safe to repeat after a partial undo. False, with the first reason,
// when something could not be undone; the record must then stay for a later run.
bool UndoRun(int root, const WorkRecord& record, const ChangeGate& gate, std::string& reason);

// Removes the files a run that renamed everything kept aside. False when some stay.
bool FinishRun(int root, const WorkRecord& record, const ChangeGate& gate, std::string& reason);

// Removes the target and its parents that the run made, innermost first, when empty.
void RemoveFoldersAbove(const WorkRecord& record, const ChangeGate& gate);

} // namespace ballotine::pkzip25

#pragma once

#include "download/DownloadQueue.h"
#include "updates/UpdateListNames.h"

namespace ballotine {

class AvailableDownloads;
class CatalogueTree;
struct ModTable;
struct WorkingPaths;

inline constexpr const char* kModUpdateListName = "modsupdate.cfg";

// Reads "modsupdate.cfg" of the working folder: takes over the mod list's new address,
// refreshes each known mod's base address, learns the installed mods the table does not hold
// (version 0) and lists the newer packages of installed mods under "Ballotine Updates" (their
// items appended to `downloads`). False when the file cannot be opened; nothing changes then.
// A list read from the network (`listOrigin`) may not set a local address for the mods or the
// mod list, nor offer a package from one: such an address is kept out and noted in `log`.
bool LoadModUpdates(ModTable& mods, const WorkingPaths& paths, AvailableDownloads& downloads,
                    CatalogueTree& tree, const DebugLog& log,
                    AddressOrigin listOrigin = AddressOrigin::RemoteList);

} // namespace ballotine

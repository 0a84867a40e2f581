#pragma once

#include "download/DownloadQueue.h"
#include "updates/UpdateListNames.h"

namespace ballotine {

class AvailableDownloads;
class CatalogueTree;
class VersionTable;
struct WorkingPaths;

inline constexpr const char* kMapUpdateListName = "update.conf";

// Lists every map and entity package of "update.conf" in the mod's working folder that is
// newer than the version record: appends each package's item to `downloads` and its node to
// the tree's category, in the order of the list. A list that cannot be opened lists nothing.
// `listOrigin` is where the list was read (its items may name local files only when local).
void BuildUpdateTree(const WorkingPaths& paths, const VersionTable& versions,
                     AvailableDownloads& downloads, CatalogueTree& tree, const DebugLog& log,
                     AddressOrigin listOrigin = AddressOrigin::RemoteList);

} // namespace ballotine

#include "download/DownloadQueue.h"
#include "updates/VersionTable.h"

#include <algorithm>

namespace ballotine {

bool RecordInstalledVersions(VersionTable& table, DownloadQueue& queue, const WorkingPaths& paths) {
    queue.Rewind();
    for (std::int32_t index = 0; index < queue.GetCount(); ++index) {
        if (queue.GetStatus() == StatusInstalled) {
            const bool full = queue.IsFullPackage();
            const std::int32_t version = queue.GetVersion();
            if (VersionEntry* entry = table.Find(queue.GetPackageKey())) {
                std::int32_t& recorded = full ? entry->mapVersion : entry->entityVersion;
                recorded = std::max(recorded, version);
            } else {
                table.Append(
                    VersionEntry{queue.GetPackageKey(), full ? version : 0, full ? 0 : version});
            }
        }
        queue.Advance();
    }
    return SaveVersionTable(table, paths);
}

} // namespace ballotine

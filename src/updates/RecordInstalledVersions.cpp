#include "updates/VersionTable.h"

#include <algorithm>

namespace ballotine {

bool RecordInstalledVersions(VersionTable& table, const DownloadQueue& queue,
                             const WorkingPaths& paths) {
    for (const DownloadItem& item : queue) {
        if (item.status != DownloadStatus::Installed) {
            continue;
        }
        const bool full = item.fullPackage;
        if (VersionEntry* entry = table.Find(item.packageKey)) {
            std::int32_t& recorded = full ? entry->mapVersion : entry->entityVersion;
            recorded = std::max(recorded, item.version);
        } else {
            table.Append(
                VersionEntry{item.packageKey, full ? item.version : 0, full ? 0 : item.version});
        }
    }
    return SaveVersionTable(table, paths);
}

} // namespace ballotine

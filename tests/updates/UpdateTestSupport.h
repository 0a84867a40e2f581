#pragma once

#include "catalogue/WorkingPaths.h"
#include "download/DownloadQueue.h"
#include "install/InstallTestSupport.h"
#include "support/DownloadItems.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ballotine::test {

// One "#MAP#" record of a map update list; packages are stored under http://s/.
struct ListedMap {
    std::string key;
    int addedRevision = 0;
    int mapVersion = 1;
    int entityVersion = 0;
    int hasVoteData = 0;
    int mapSize = 5000;
    int entitySize = 600;
};

inline std::string MapRecordText(const ListedMap& map) {
    return "#MAP#\n" + map.key + " " + std::to_string(map.addedRevision) + " " +
           std::to_string(map.hasVoteData) + "\n" + std::to_string(map.mapVersion) + " " +
           std::to_string(map.mapSize) + "\nhttp://s/maps/" + map.key + ".zip\nN/A\n" + map.key +
           " map\n" + std::to_string(map.entityVersion) + " " + std::to_string(map.entitySize) +
           "\nhttp://s/ents/" + map.key + "_ent.zip\nN/A\n" + map.key + " entities\n";
}

inline std::string MapListText(int revision, const std::vector<ListedMap>& maps) {
    std::string text = std::to_string(revision) + "\n";
    for (const ListedMap& map : maps) {
        text += MapRecordText(map);
    }
    return text + "#END#";
}

// An item's fields in one line, its local path below the game folder:
// "name|key|url|mirror|localPath|version|size|status|full" ("-" for no mirror, the status's
// letter as StatusLetters gives it, full: 1 for a whole package).
inline std::string Fields(const DownloadItem& item, const WorkingPaths& paths) {
    const std::string local = item.localPath.starts_with(paths.installDir + "/")
                                  ? item.localPath.substr(paths.installDir.size() + 1)
                                  : item.localPath;
    return item.name + "|" + item.packageKey + "|" + item.url + "|" + item.mirrorUrl.value_or("-") +
           "|" + local + "|" + std::to_string(item.version) + "|" + std::to_string(item.size) +
           "|" + StatusLetters({item}) + "|" + std::to_string(item.fullPackage);
}

} // namespace ballotine::test

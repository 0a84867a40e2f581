#pragma once

#include "download/DownloadQueue.h"
#include "install/InstallTestSupport.h"
#include "platform/ToolRunner.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/UpdateRoad.h"

#include <gtest/gtest.h>
#include <map>
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
// "name|key|url|altUrl|localPath|version|size|status|full" (full: 1 for a whole package).
inline std::string Fields(const DownloadItem& item, const WorkingPaths& paths) {
    const std::string local = item.localPath.starts_with(paths.installDir + "/")
                                  ? item.localPath.substr(paths.installDir.size() + 1)
                                  : item.localPath;
    return item.name + "|" + item.packageKey + "|" + item.url + "|" + item.altUrl + "|" + local +
           "|" + std::to_string(item.version) + "|" + std::to_string(item.size) + "|" +
           std::to_string(item.status) + "|" + std::to_string(item.fullPackage);
}

// Downloads by writing the content served for each pending item's address; an address without
// content fails. With a result other than 1 nothing is fetched, as after a cancel.
class FakeDownloader final : public DownloadRunner {
public:
    void Serve(const std::string& url, std::string content) { m_content[url] = std::move(content); }
    void SetResult(int result) { m_result = result; }

    int RunQueue(DownloadQueue& queue, bool allowSkip) override {
        runs.emplace_back();
        skipAllowed.push_back(allowSkip);
        for (std::size_t index = 0; queue.MoveTo(index); ++index) {
            if (queue.GetStatus() != StatusPending) {
                continue;
            }
            runs.back().push_back(queue.At(index));
            if (m_result != 1) {
                continue;
            }
            const auto found = m_content.find(queue.GetUrl());
            if (found != m_content.end()) {
                WriteFile(queue.GetLocalPath(), found->second);
            }
            queue.SetStatus(found != m_content.end() ? StatusDownloaded : StatusFailed);
        }
        return m_result;
    }

    // The pending items of each run, as they were handed over.
    std::vector<std::vector<DownloadItem>> runs;
    std::vector<bool> skipAllowed;

private:
    std::map<std::string, std::string> m_content;
    int m_result = 1;
};

// The update road on the mod tfc of a game in a temporary folder, with the real zip tool and a
// downloader that serves prepared files; notes of the road are kept.
class UpdateRoadTest : public testing::Test {
protected:
    // The bytes of a package big enough for the installer, holding one file.
    std::string Package(const std::string& entry, char fill) const {
        const std::string file = dir / "package-source.zip";
        ZipBuilder().Stored().File(entry, std::string(4096, fill)).Save(file);
        return ReadFile(file);
    }

    TempDir dir;
    WorkingPaths paths = TfcPaths(dir);
    UpdateTables tables;
    ScriptedPrompter prompter;
    SpawnToolRunner runner{{BuiltProgram("pkzip25").parent_path()}};
    FakeDownloader downloader;
    std::vector<std::string> notes;
    UpdateRoad road{tables.downloads,
                    tables.versions,
                    tables.mappings,
                    tables.log,
                    prompter,
                    runner,
                    downloader,
                    [this](const std::string& note) { notes.push_back(note); },
                    false};
};

} // namespace ballotine::test

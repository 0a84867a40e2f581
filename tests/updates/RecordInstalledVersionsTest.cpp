#include "download/DownloadQueue.h"
#include "install/InstallTestSupport.h"
#include "updates/VersionTable.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr const char* kHeader = "#TFC Header V1.0 - DO NOT MODIFY\n";

TEST(RecordInstalledVersions, RaisesVersionsButNeverLowersThem) {
    TempDir dir;
    const WorkingPaths paths = test::TfcPaths(dir);
    const std::string configFile = paths.modWorkDir + "config.conf";
    VersionTable table;
    WriteFile(configFile, std::string(kHeader) + "2fort 5 1\nrock2 0 4\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    DownloadQueue queue;
    struct Item {
        const char* key;
        std::int32_t version;
        bool full;
        DownloadStatus status;
    };
    const Item items[] = {
        {"2FORT", 2, true, StatusInstalled},   // older map package: 5 stays
        {"2fort", 3, false, StatusInstalled},  // newer entity package: 1 becomes 3
        {"rock2", 2, true, StatusInstalled},   // map arrives beside its entities
        {"well", 3, false, StatusInstalled},   // unknown key, entity package
        {"*tfc", 4, true, StatusInstalled},    // mod package
        {"hunted", 7, true, StatusDownloaded}, // not installed: not recorded
        {"rock2", 9, false, StatusFailed},
    };
    for (const Item& item : items) {
        queue.Append(item.key, "u", "N/A", "p", 10, item.version, item.key, item.full);
    }
    queue.Rewind();
    for (const Item& item : items) {
        queue.SetStatus(item.status);
        queue.Advance();
    }

    EXPECT_TRUE(RecordInstalledVersions(table, queue, paths));
    EXPECT_EQ(ReadFile(configFile),
              std::string(kHeader) + "2fort 5 3\nrock2 2 4\nwell 0 3\n*tfc 4 0\n#END#");
}

} // namespace
} // namespace ballotine

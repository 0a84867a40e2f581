#include "catalogue/ModTable.h"
#include "download/DownloadQueue.h"
#include "install/Extraction.h"
#include "install/InstallMappings.h"
#include "install/InstallQueue.h"
#include "install/InstallTestSupport.h"
#include "install/Placement.h"
#include "platform/CommandRunner.h"
#include "support/ScriptedPrompter.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/VersionTable.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::BuiltProgram;
using test::CapturedLog;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using test::ZipBuilder;
namespace fs = std::filesystem;

// The real zip tool, found on the PATH the program gives its commands.
class InstallingWithTheTool : public testing::Test {
protected:
    std::string MapZip(const std::string& base) const {
        return paths.modWorkDir + "mapzips/" + base + ".zip";
    }
    // Big enough to pass the size check whatever the archive's overhead.
    static ZipBuilder Padded(ZipBuilder zip) {
        zip.Stored().File("padding/pad.dat", std::string(4096, 'p'));
        return zip;
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    ShellCommandRunner runner{{BuiltProgram("pkzip25").parent_path()}};
    ExtractionSetup setup{paths, "tfc", runner};
    CapturedLog log{dir};
};

TEST_F(InstallingWithTheTool, AMapPackageIsUnpackedPlacedAndCleanedUp) {
    Padded(ZipBuilder()
               .File("2fort.bsp", "new map")
               .File("sound\\2fort\\wind.wav", "wind")
               .File("models/flag.mdl", "flag"))
        .Save(MapZip("2fort"));
    WriteFile(paths.mapsDir + "2fort.bsp", "old map");
    WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
    InstallMappings mappings;
    LoadMappings(mappings, paths);

    ASSERT_TRUE(ExtractPackage(MapZip("2fort"), "2fort", setup, log.Log()));
    const std::string folder = paths.modWorkDir + "mapzips/2fort";
    EXPECT_TRUE(PlaceContents(folder, mappings, paths, log.Log()));
    DeleteTree(folder, log.Log());

    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "new map") << "overwritten";
    EXPECT_EQ(ReadFile(paths.modDir + "sound/2fort/wind.wav"), "wind");
    EXPECT_EQ(ReadFile(paths.modDir + "models/flag.mdl"), "flag");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(MapZip("2fort")));
    EXPECT_NE(log.Text().find("    Extraction complete\n"), std::string::npos);
}

TEST_F(InstallingWithTheTool, AnInstallationRunFromQueueToRecord) {
    Padded(ZipBuilder().File("well.bsp", "well map").File("sound/well.wav", "wav"))
        .Save(MapZip("well"));
    Padded(ZipBuilder().File("fine.bsp", "no").File("../outside.bsp", "no")).Save(MapZip("evil"));
    WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
    WriteFile(paths.modWorkDir + "config.conf", "#TFC Header V1.0 - DO NOT MODIFY\n#END#");
    DownloadQueue queue;
    queue.Append("Well", "u", "N/A", MapZip("well"), 1, 2, "well", true);
    queue.Append("Evil", "u", "N/A", MapZip("evil"), 1, 1, "evil", true);
    queue.Rewind();
    queue.SetStatus(StatusDownloaded);
    queue.Advance();
    queue.SetStatus(StatusDownloaded);

    ModTable mods;
    VersionTable versions;
    LoadVersionTable(versions, paths);
    InstallMappings mappings;
    InstallLog runLog;
    test::ScriptedPrompter prompter;
    InstallContext context{paths, "tfc", mods, versions, mappings, runLog, prompter, runner};
    context.showLog = false;

    EXPECT_EQ(InstallQueue(queue, context), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "well.bsp"), "well map");
    EXPECT_EQ(ReadFile(paths.modDir + "sound/well.wav"), "wav");
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/outside.bsp"));
    EXPECT_FALSE(fs::exists(paths.mapsDir + "fine.bsp")) << "a refused archive is refused whole";
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\nwell 2 0\n#END#");
    const std::string report = ReadFile(paths.modWorkDir + "update.log");
    EXPECT_NE(report.find("\nEvil...\n\n  Saved to " + MapZip("evil") +
                          "\n  Unpacking zip file....\n    Extract command failed\n"
                          "  Unpacking file failed....\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(prompter.Transcript().empty());
}

} // namespace
} // namespace ballotine

#include "CliTestSupport.h"
#include "download/LoopbackServer.h"
#include "support/TestFiles.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace ballotine {
namespace {
using test::CliRun;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

// The updates command against the demo's update server (file:// addresses), with the built
// zip tool on the PATH as beside the installed program.
class UpdatesOnDemo : public test::CliOnDemo {
protected:
    static void SetUpTestSuite() { test::PutBuiltZipToolOnPath(); }
    std::string Size(const std::string& package) const {
        return std::to_string(fs::file_size(demo.Layout().serverDir / package));
    }
};

TEST_F(UpdatesOnDemo, ListsTheCatalogueAfterFetchingVoteMapData) {
    const CliRun run = Run({"updates"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "Ballotine Updates\tTFC map pack 2 (Summit)\t2\t" + Size("tfc/tfc.zip") +
            "\nNew Maps\tFrostfall - Capture The Flag\t1\t" + Size("tfc/maps/frostfall.zip") +
            "\nNew Maps\tRidgeline - Attack / Defend\t1\t" + Size("tfc/maps/ridgeline.zip") +
            "\nEntity Updates\tLakeside server sizes\t1\t" + Size("tfc/maps/lakeside_ents.zip") +
            "\nEntity Updates\tQuarry server sizes\t1\t" + Size("tfc/maps/quarry_ents.zip") +
            "\n"
            "Full Map Updates\tLakeside 1.1 - Territorial Control\t2\t" +
            Size("tfc/maps/lakeside.zip") + "\nDownloadable Maps\tQuarry - Capture The Flag\t1\t" +
            Size("tfc/maps/quarry.zip") + "\n");
    EXPECT_TRUE(fs::exists(demo.Game("tfc/sprites/vote/ridgeline.spr")));
    EXPECT_NE(run.err.find("ridgeline votemap data...\tdownloaded"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(WorkFile("update.log")));
}

TEST_F(UpdatesOnDemo, InstallsChosenPackagesAndRecordsThem) {
    const CliRun run =
        Run({"updates", "--install", "lakeside SERVER sizes", "TFC map pack 2 (Summit)"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(
        run.out.find("Lakeside server sizes\tdownloaded\t" + Size("tfc/maps/lakeside_ents.zip")),
        std::string::npos);
    EXPECT_NE(run.out.find("Log\t" + WorkFile("update.log") + "\n"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::exists(WorkFile("Entities/lakeside.16.ref")));
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/summit.bsp")));
    const std::string record = ReadFile(WorkFile("config.conf"));
    EXPECT_NE(record.find("lakeside 1 1\n"), std::string::npos) << record;
    EXPECT_NE(record.find("*tfc 2 0\n"), std::string::npos) << record;
    EXPECT_NE(ReadFile(demo.Game("Ballotine/mods.cfg")).find("tfc 2\n"), std::string::npos);
    EXPECT_EQ(Run({"updates"}).out.find("Lakeside server sizes"), std::string::npos)
        << "installed packages are no longer offered";

    EXPECT_EQ(Run({"updates", "--all"}).status, 0);
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/quarry.bsp")));
    const CliRun nothing = Run({"updates", "--all"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_NE(nothing.err.find("Nothing to install"), std::string::npos) << nothing.err;
}

TEST_F(UpdatesOnDemo, FailuresExitOne) {
    fs::remove(demo.Layout().serverDir / "tfc/maps/quarry.zip");
    const CliRun failed = Run({"updates", "--install", "Quarry - Capture The Flag"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("Quarry - Capture The Flag\tfailed"), std::string::npos);

    const CliRun unknown = Run({"updates", "--install", "No such package"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("No package titled 'No such package'"), std::string::npos);
    EXPECT_EQ(unknown.out, "");

    fs::remove(demo.Layout().serverDir / "tfc/database.conf");
    const CliRun noList = Run({"updates"});
    EXPECT_EQ(noList.status, 1);
    EXPECT_NE(noList.err.find("Unable to download config list. Retry later..."), std::string::npos);
}

// Ctrl-C while a package stalls cancels the downloads as "Cancel All" does: what had arrived is
// still installed and logged, the stalled package fails, and Ctrl-C's own action is back after.
TEST_F(UpdatesOnDemo, CtrlCCancelsTheDownloadsAndInstallsWhatArrived) {
    const fs::path package = demo.Layout().serverDir / "tfc/maps/quarry.zip";
    test::LoopbackServer server;
    server.ServeStalling("/quarry.zip", ReadFile(package), 1024);
    const fs::path listFile = demo.Layout().serverDir / "tfc/database.conf";
    std::string list = ReadFile(listFile);
    const std::string fileUrl = demo.Layout().ServerUrl("tfc/maps/quarry.zip");
    list.replace(list.find(fileUrl), fileUrl.size(), server.Url("/quarry.zip"));
    WriteFile(listFile, list);

    // a handler of the caller's own, which the command must give back
    struct sigaction caller {
    }, before{};
    caller.sa_handler = [](int) {};
    sigaction(SIGINT, &caller, &before);
    std::thread user([&server] {
        for (int waited = 0; waited < 20000; waited += 5) {
            if (!server.Requests("/quarry.zip").empty()) {
                ::kill(::getpid(), SIGINT);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const CliRun run = Run({"updates", "--all"});
    user.join();
    server.Release();

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Interrupted: the downloads were cancelled."), std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("Quarry - Capture The Flag\tfailed"), std::string::npos) << run.out;
    EXPECT_FALSE(fs::exists(demo.Game("tfc/maps/quarry.bsp")));
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/summit.bsp")));
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/frostfall.bsp"))) << "listed before quarry";
    EXPECT_NE(ReadFile(WorkFile("update.log")).find("frostfall"), std::string::npos);
    struct sigaction after {};
    sigaction(SIGINT, &before, &after);
    EXPECT_EQ(after.sa_handler, caller.sa_handler);
}

// How the record is raised is pinned by the version table tests; this is the command's wiring.
TEST_F(UpdatesOnDemo, VersionsPrintsTheRecordAfterMarkingTheMapsOnDiskButNeverCreatesOne) {
    fs::remove_all(demo.Game("tfc/maps"));
    WriteFile(WorkFile("config.conf"), "#TFC Header V1.0 - DO NOT MODIFY\nrock2 0 4\n#END#");
    WriteFile(Maps("well.bsp"), "BSP");
    WriteFile(Maps("Rock2.bsp"), "BSP");
    const CliRun run = Run({"versions"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rock2\t1\t4\nwell\t1\t0\n");
    EXPECT_EQ(ReadFile(WorkFile("config.conf")),
              "#TFC Header V1.0 - DO NOT MODIFY\nrock2 1 4\nwell 1 0\n#END#");
    fs::remove(WorkFile("config.conf"));
    EXPECT_EQ(Run({"versions"}).status, 1);
    EXPECT_FALSE(fs::exists(WorkFile("config.conf")));
}

} // namespace
} // namespace ballotine

#include "CliTestSupport.h"
#include "download/LoopbackServer.h"
#include "support/OtherLockHolder.h"
#include "support/TestFiles.h"
#include "tools/pkzip25/ZipBuilder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <thread>
#include <tuple>
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
        Run({"--yes", "updates", "--install", "lakeside SERVER sizes", "TFC map pack 2 (Summit)"});
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
    EXPECT_NE(failed.err.find("Quarry - Capture The Flag: "), std::string::npos) << failed.err;
    EXPECT_NE(ReadFile(WorkFile("update.log")).find("  Download failed...\n  "), std::string::npos)
        << "the reason follows";

    const CliRun unknown = Run({"updates", "--install", "No such package"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("No package titled 'No such package'"), std::string::npos);
    EXPECT_EQ(unknown.out, "");

    fs::remove(demo.Layout().serverDir / "tfc/database.conf");
    const CliRun noList = Run({"updates"});
    EXPECT_EQ(noList.status, 1);
    EXPECT_NE(noList.err.find("Unable to download config list. Retry later..."), std::string::npos);
}

// Two records of one title: both listed with their keys, a title naming both is refused with
// the names, and each name installs its own package.
TEST_F(UpdatesOnDemo, PackagesThatShareATitleAreToldApartByTheirKeys) {
    const fs::path listFile = demo.Layout().serverDir / "tfc/database.conf";
    std::string list = ReadFile(listFile);
    const std::string frostfall = "Frostfall - Capture The Flag";
    list.replace(list.find(frostfall), frostfall.size(), "Quarry - Capture The Flag");
    WriteFile(listFile, list);

    const CliRun listed = Run({"updates"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("New Maps\tQuarry - Capture The Flag (frostfall)\t1\t"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("Downloadable Maps\tQuarry - Capture The Flag (quarry)\t1\t"),
              std::string::npos);

    const CliRun both = Run({"updates", "--install", "quarry - capture the flag"});
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.err.find("'quarry - capture the flag' names 2 packages; nothing was "
                            "downloaded. Name one of them:\n"
                            "  Quarry - Capture The Flag (frostfall)\n"
                            "  Quarry - Capture The Flag (quarry)\n"),
              std::string::npos)
        << both.err;
    EXPECT_EQ(both.out, "");

    const CliRun second = Run({"updates", "--install", "Quarry - Capture The Flag (FROSTFALL)"});
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(fs::exists(Maps("frostfall.bsp")));
    EXPECT_FALSE(fs::exists(Maps("quarry.bsp")));
    EXPECT_NE(ReadFile(WorkFile("config.conf")).find("\nfrostfall 1 0\n"), std::string::npos);
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
    const CliRun run = Run({"--yes", "updates", "--all"});
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

// Two runs on one game, real processes: the first holds the game while its package is held
// back by the server; a run with the default wait gives up naming it, one with --wait waits,
// says so, and installs its package after the first. Both versions are recorded.
TEST_F(UpdatesOnDemo, TwoRunsAtOnceTakeTurnsAndKeepBothRecords) {
    test::LoopbackServer server;
    server.ServeHeld("/quarry.zip", ReadFile(demo.Layout().serverDir / "tfc/maps/quarry.zip"));
    const fs::path listFile = demo.Layout().serverDir / "tfc/database.conf";
    std::string list = ReadFile(listFile);
    const std::string fileUrl = demo.Layout().ServerUrl("tfc/maps/quarry.zip");
    list.replace(list.find(fileUrl), fileUrl.size(), server.Url("/quarry.zip"));
    WriteFile(listFile, list);

    const std::string cli = test::ShellQuoted(test::BuiltProgram("ballotine-cli").string()) +
                            " --registry " + Registry();
    const std::string waitedErr = demo.Game("second.err");
    test::ShellRun first;
    test::ShellRun second;
    std::thread firstRun([&] {
        first = test::RunShell(cli + " updates --install 'Quarry - Capture The Flag' 2>/dev/null");
    });
    const auto until = [](const std::function<bool()>& done) {
        for (int waited = 0; waited < 20000 && !done(); waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    };
    ASSERT_TRUE(until([&] { return !server.Requests("/quarry.zip").empty(); }));

    const test::ShellRun gaveUp =
        test::RunShell(cli + " updates --install 'Frostfall - Capture The Flag' 2>&1 >/dev/null");
    EXPECT_EQ(gaveUp.status, 1);
    EXPECT_NE(gaveUp.out.find("Waiting up to 2 s: ballotine-cli (process "), std::string::npos)
        << gaveUp.out;
    EXPECT_NE(gaveUp.out.find("Gave up after 2 s: ballotine-cli (process "), std::string::npos);
    EXPECT_NE(gaveUp.out.find(", updates) is still changing this game (--wait SECONDS waits "
                              "longer)."),
              std::string::npos);

    std::thread secondRun([&] {
        second = test::RunShell(cli +
                                " --wait 60 updates --install "
                                "'Frostfall - Capture The Flag' 2>" +
                                test::ShellQuoted(waitedErr));
    });
    EXPECT_TRUE(until([&] {
        return fs::exists(waitedErr) &&
               ReadFile(waitedErr).find("Waiting up to 60 s") != std::string::npos;
    }));
    server.Release();
    firstRun.join();
    secondRun.join();

    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(second.status, 0) << ReadFile(waitedErr);
    EXPECT_TRUE(fs::exists(Maps("quarry.bsp")));
    EXPECT_TRUE(fs::exists(Maps("frostfall.bsp")));
    const std::string record = ReadFile(WorkFile("config.conf"));
    EXPECT_NE(record.find("\nquarry 1 0\n"), std::string::npos) << record;
    EXPECT_NE(record.find("\nfrostfall 1 0\n"), std::string::npos) << record;
    EXPECT_NE(ReadFile(WorkFile("update.log")).find("Frostfall"), std::string::npos)
        << "the second run's report, written after the first's";
}

// A mod package may bring code the game runs: without a Yes it is not installed.
TEST_F(UpdatesOnDemo, AModPackageNeedsAYes) {
    const CliRun declined = Run({"updates", "--install", "TFC map pack 2 (Summit)"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("'TFC map pack 2 (Summit)' updates the mod 'tfc': it may replace "
                                "program files the game runs.\nInstall it only from an update "
                                "server you trust. Install it? [y/n] no\nNothing was installed."),
              std::string::npos)
        << declined.err;
    EXPECT_FALSE(fs::exists(demo.Game("tfc/maps/summit.bsp")));
    EXPECT_FALSE(fs::exists(demo.Game("Ballotine/tfc.zip"))) << "not even downloaded";
}

// The packages an attacker's update server would send, served over loopback in place of the
// demo's: what the trust boundary lets through and what the user is told.
struct HostilePackage {
    const char* label;
    const char* title;   // the offered package it replaces
    const char* package; // its file on the demo's server
    std::function<void(test::ZipBuilder&)> contents;
    int status;
    const char* logLine; // in update.log
    const char* errLine; // on standard error; empty: no failure told there
};

TEST_F(UpdatesOnDemo, HostilePackagesChangeNothingOutsideTheirPlace) {
    const HostilePackage cases[] = {
        {"a map package through a link leading out", "Quarry - Capture The Flag",
         "tfc/maps/quarry.zip",
         [](test::ZipBuilder& zip) { zip.File("quarry.bsp", "map").File("linked/x.mdl", "mdl"); },
         1, "lies outside the game folder\n    Package refused: nothing of it was copied\n",
         "Quarry - Capture The Flag: could not be unpacked or placed: refused, nothing of it was "
         "copied: "},
        {"an entity package writing beside its settings", "Lakeside server sizes",
         "tfc/maps/lakeside_ents.zip",
         [](test::ZipBuilder& zip) {
             zip.File("Entities/lakeside.16.ref", "ref").File("Entities/notes.txt", "x");
         },
         1, "notes.txt is one of Ballotine's own files",
         "Lakeside server sizes: could not be unpacked or placed: refused, nothing of it was "
         "copied: "},
        {"a mod package replacing the tools and the mappings", "TFC map pack 2 (Summit)",
         "tfc/tfc.zip",
         [](test::ZipBuilder& zip) {
             zip.File("tfc/liblist.gam", "theirs").File("Ballotine/ripent", "#!/bin/sh\n", 0755);
             zip.File("Ballotine/tfc/mappings.conf", "#FILES#\nbsp ..\\..\n");
         },
         1, "    Extraction failed. Invalid zip file\n      pkzip25: ",
         "TFC map pack 2 (Summit): could not be unpacked or placed: pkzip25: "},
        {"a map package bringing the server's library", "Quarry - Capture The Flag",
         "tfc/maps/quarry.zip",
         [](test::ZipBuilder& zip) {
             zip.File("quarry.bsp", "map")
                 .File("dlls/tfc_i386.so", "\x7F"
                                           "ELF library");
             zip.File("dlls/start.sh", "#!/bin/sh\n", 0755);
         },
         0, "    NOT COPYING FILE tfc_i386.so, if you need this file", ""},
    };
    const std::vector<std::string> own = {"Ballotine/ripent", "Ballotine/mods.cfg",
                                          "Ballotine/tfc/mappings.conf", "tfc/liblist.gam"};
    std::vector<std::string> before;
    for (const std::string& file : own) {
        before.push_back(ReadFile(demo.Game(file)));
    }
    const fs::path outside = demo.Game("../outside");
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, demo.Game("tfc/linked"));
    std::map<std::string, std::string> lists; // as the demo's server has them
    for (const char* listName : {"modsupdate.cfg", "tfc/database.conf"}) {
        lists[listName] = ReadFile(demo.Layout().serverDir / listName);
    }
    for (const HostilePackage& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        test::LoopbackServer server;
        test::ZipBuilder zip;
        // Past the size below which a download counts as an error page.
        zip.Stored().File("models/filler.mdl", std::string(4096, 'f'));
        hostile.contents(zip);
        const fs::path built = demo.Game("hostile.zip");
        zip.Save(built);
        server.Serve("/hostile.zip", ReadFile(built));
        const std::string fileUrl = demo.Layout().ServerUrl(hostile.package);
        bool listed = false;
        for (const auto& [listName, original] : lists) {
            const fs::path list = demo.Layout().serverDir / listName;
            std::string text = original;
            WriteFile(list, text);
            if (const std::size_t at = text.find(fileUrl); at != std::string::npos) {
                text.replace(at, fileUrl.size(), server.Url("/hostile.zip"));
                WriteFile(list, text);
                listed = true;
            }
        }
        ASSERT_TRUE(listed) << fileUrl;

        const CliRun run = Run({"--yes", "updates", "--install", hostile.title});
        EXPECT_EQ(run.status, hostile.status) << run.err;
        EXPECT_EQ(server.Requests("/hostile.zip").size(), 1u) << "the package was served";
        const std::string log = ReadFile(WorkFile("update.log"));
        EXPECT_NE(log.find(hostile.logLine), std::string::npos) << log;
        if (*hostile.errLine != '\0') {
            EXPECT_NE(run.err.find(hostile.errLine), std::string::npos) << run.err;
        } else {
            EXPECT_EQ(run.err.find("could not be"), std::string::npos) << run.err;
        }
        EXPECT_TRUE(fs::is_empty(outside));
        for (std::size_t i = 0; i < own.size(); ++i) {
            EXPECT_EQ(ReadFile(demo.Game(own[i])), before[i]) << own[i];
        }
        EXPECT_FALSE(fs::exists(demo.Game("tfc/dlls/tfc_i386.so")));
        EXPECT_FALSE(fs::exists(demo.Game("tfc/dlls/start.sh")));
    }
}

// Every command that writes the game refuses to while another program changes it, saying who.
TEST_F(UpdatesOnDemo, EveryWritingCommandWaitsForTheGamesWriterLock) {
    const std::string modList = ReadFile(demo.Game("Ballotine/mods.cfg"));
    const std::string record = ReadFile(WorkFile("config.conf"));
    test::OtherLockHolder other(demo.Game("Ballotine"), "compile");
    const std::vector<std::vector<std::string>> commands = {
        {"init"},
        {"sprites", "--force"},
        {"compile", "quarry", "lakeside"},
        {"versions"},
        {"updates"},
        {"save-list", "x.vml", "quarry", "lakeside"},
        {"apply", "lakeside", "16"},
    };
    for (std::vector<std::string> command : commands) {
        SCOPED_TRACE(command.front());
        command.insert(command.begin(), {"--yes", "--wait", "0"});
        const CliRun run = Run(command);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(", compile) is changing this game (--wait SECONDS waits for it)."),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(ReadFile(demo.Game("Ballotine/mods.cfg")), modList);
    EXPECT_EQ(ReadFile(WorkFile("config.conf")), record);
    EXPECT_FALSE(fs::exists(WorkFile("update.conf")));
}

// The demo's update server behind loopback HTTP: mods.cfg names its http:// addresses, while
// the lists it serves still name the demo's file:// packages and addresses, as a hostile
// server naming the user's files would.
class UpdatesOverHttp : public UpdatesOnDemo {
protected:
    // Serves below `prefix`, a folder of its own for each server.
    void ServeOverHttp(const std::string& prefix, const std::string& mapList) {
        const fs::path& folder = demo.Layout().serverDir;
        server.Serve(prefix + "/tfc/database.conf", mapList);
        server.Serve(prefix + "/modsupdate.cfg", ReadFile(folder / "modsupdate.cfg"));
        server.Serve(prefix + "/tfc/voteVM/ridgelineVM.zip",
                     ReadFile(folder / "tfc/voteVM/ridgelineVM.zip"));
        WriteFile(demo.Game("Ballotine/mods.cfg"),
                  Replaced(m_mods, demo.Layout().ServerUrl(), server.Url(prefix)));
    }
    static std::string Replaced(std::string text, const std::string& from, const std::string& to) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), to);
        }
        return text;
    }

    test::LoopbackServer server;

private:
    const std::string m_mods = ReadFile(demo.Game("Ballotine/mods.cfg"));
};

TEST_F(UpdatesOverHttp, ALocalAddressOrAnOversizedPackageIsRefusedAndTheUserIsToldWhy) {
    const std::string list = ReadFile(demo.Layout().serverDir / "tfc/database.conf");
    const std::string quarry = demo.Layout().ServerUrl("tfc/maps/quarry.zip");
    server.Serve("/quarry.zip", std::string(300000, 'q'));
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/local", list,
         "refused '" + quarry +
             "': a list fetched over the network may name only http:// and https:// "
             "addresses"},
        {"/oversized", Replaced(list, quarry, server.Url("/quarry.zip")),
         "refused: the server sent more than the " + Size("tfc/maps/quarry.zip") +
             " bytes its list gives"},
    };
    for (const auto& [prefix, served, reason] : cases) {
        SCOPED_TRACE(reason);
        ServeOverHttp(prefix, served);
        const CliRun run = Run({"updates", "--install", "Quarry - Capture The Flag"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find("Quarry - Capture The Flag\tfailed\t"), std::string::npos);
        EXPECT_NE(run.err.find("Quarry - Capture The Flag: " + reason + "\n"), std::string::npos)
            << run.err;
        EXPECT_NE(ReadFile(WorkFile("update.log"))
                      .find("Quarry - Capture The Flag....\n\n  Download failed...\n  " + reason),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(WorkFile("mapzips/quarry.zip")));
        EXPECT_NE(run.err.find("note: modsupdate.cfg: address '" + demo.Layout().ServerUrl()),
                  std::string::npos);
    }
    const std::string mods = ReadFile(demo.Game("Ballotine/mods.cfg"));
    EXPECT_EQ(mods.find("file://"), std::string::npos)
        << "a list fetched over the network set a local address:\n"
        << mods;
}

// The command run by the shell on a terminal of its own (`script`).
TEST_F(UpdatesOnDemo, OnATerminalTheProgressLineIsRewrittenInPlaceAndQuietDropsIt) {
    const std::pair<const char*, bool> cases[] = {{"Lakeside server sizes", false},
                                                  {"Quarry - Capture The Flag", true}};
    for (const auto& [title, quiet] : cases) {
        const std::string command =
            test::ShellQuoted(test::BuiltProgram("ballotine-cli").string()) + " --registry " +
            Registry() + " updates --install " + test::ShellQuoted(title) +
            (quiet ? " --quiet" : "");
        const test::ShellRun run =
            test::RunShell("script -qec " + test::ShellQuoted(command) + " /dev/null");
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(run.out.find("\r" + std::string(title) + "  ") != std::string::npos, !quiet)
            << run.out;
        EXPECT_EQ(run.out.find(" Kb/Sec  downloaded") != std::string::npos, !quiet);
        EXPECT_EQ(run.out.find("\tdownloaded\t"), std::string::npos) << "records on a terminal";
        EXPECT_NE(run.out.find("Log\t"), std::string::npos);
    }
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

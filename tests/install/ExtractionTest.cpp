#include "install/Extraction.h"

#include "install/InstallTestSupport.h"
#include "platform/CommandRunner.h"
#include "support/FakeCommandRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ballotine {
namespace {
using test::CapturedLog;
using test::FakeCommandRunner;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

class Extracting : public testing::Test {
protected:
    std::string MapZip(const std::string& base) const {
        return paths.modWorkDir + "mapzips/" + base + ".zip";
    }
    // A tool that unpacks by making the extraction folder, as the real one would.
    void ToolMakesFolder(const std::string& base) {
        runner.SetAction([this, base](const FakeCommandRunner::Call&) {
            CreateFolders(paths.modWorkDir + "mapzips/" + base);
            return 0;
        });
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    FakeCommandRunner runner;
    ExtractionSetup setup{paths, "tfc", runner};
    CapturedLog log{dir};
};

TEST_F(Extracting, APackageOf2048BytesIsRefusedAndDeleted) {
    WriteFile(MapZip("small"), std::string(2048, 'x'));
    EXPECT_FALSE(ExtractPackage(MapZip("small"), "small", setup, log.Log()));
    EXPECT_FALSE(fs::exists(MapZip("small")));
    EXPECT_TRUE(runner.Calls().empty());

    EXPECT_FALSE(ExtractPackage(MapZip("missing"), "missing", setup, log.Log()));
    EXPECT_FALSE(ExtractPackage("", "*tfc", setup, log.Log())) << "mod package not downloaded";
    EXPECT_TRUE(runner.Calls().empty());
    EXPECT_EQ(log.Text(), "    Unable to download file\n"
                          "    Unable to download file\n"
                          "    Unable to download file\n");
}

// The tool is given the names as spelled on disk.
TEST_F(Extracting, AMapPackageOf2049BytesIsUnpackedInTheWorkingFolder) {
    WriteFile(paths.modWorkDir + "mapzips/Rock2.ZIP", std::string(2049, 'x'));
    ToolMakesFolder("rock2");
    EXPECT_TRUE(ExtractPackage(paths.modWorkDir + "mapzips/Rock2.ZIP", "rock2", setup, log.Log()));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].commandLine,
              "pkzip25 -extract -nofix -direct -over=all tfc/mapzips/Rock2.ZIP tfc/mapzips/rock2/");
    EXPECT_EQ(runner.Calls()[0].workingFolder, paths.workDir);
    EXPECT_TRUE(fs::exists(paths.modWorkDir + "mapzips/Rock2.ZIP")) << "the package stays";
    EXPECT_EQ(log.Text(), "    Extraction complete\n");
}

TEST_F(Extracting, MapPackageFailures) {
    WriteFile(MapZip("2fort"), std::string(4096, 'x'));
    runner.SetExitStatus(1);
    EXPECT_FALSE(ExtractPackage(MapZip("2fort"), "2fort", setup, log.Log()));

    runner.SetExitStatus(0); // the tool says yes but leaves no folder
    EXPECT_FALSE(ExtractPackage(MapZip("2fort"), "2fort", setup, log.Log()));

    TempDir outside; // a link where the folder should be is no extraction folder
    fs::create_directory_symlink(outside.Path(), paths.modWorkDir + "mapzips/2fort");
    EXPECT_FALSE(ExtractPackage(MapZip("2fort"), "2fort", setup, log.Log()));
    EXPECT_EQ(log.Text(), "    Extract command failed\n"
                          "    Extraction failed. Invalid zip file\n"
                          "    Extraction failed. Invalid zip file\n");
}

TEST_F(Extracting, AModPackageIsUnpackedIntoTheGameFolder) {
    WriteFile(paths.workDir + "tfc.zip", std::string(3000, 'x'));
    EXPECT_TRUE(ExtractPackage("ignored", "*tfc", setup, log.Log()));
    runner.SetExitStatus(2);
    EXPECT_FALSE(ExtractPackage("ignored", "*tfc", setup, log.Log()));
    ASSERT_EQ(runner.Calls().size(), 2u);
    EXPECT_EQ(runner.Calls()[0].commandLine,
              "pkzip25 -extract -nofix -direct -over=all tfc.zip " + paths.installDir + "/");
    EXPECT_EQ(runner.Calls()[0].workingFolder, paths.workDir);
    EXPECT_EQ(log.Text(), "    Extraction complete\n"
                          "    Extraction failed. Invalid zip file\n");
}

// A stand-in tool that records the arguments it was given, one per line.
void WriteRecordingTool(const fs::path& folder) {
    WriteFile(folder / "pkzip25", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n"
                                  "mkdir -p \"$6\"\n");
    fs::permissions(folder / "pkzip25", fs::perms::owner_all);
}

TEST_F(Extracting, NamesFromAListCannotRunCommands) {
    TempDir tools;
    WriteRecordingTool(tools.Path());
    ShellCommandRunner shell({tools.Path()});
    const ExtractionSetup shellSetup{paths, "tfc", shell};
    const std::string hostile = "x;touch PWNED;$(touch PWNED2)'`touch PWNED3`";
    WriteFile(MapZip(hostile), std::string(4096, 'x'));

    EXPECT_TRUE(ExtractPackage(MapZip(hostile), hostile, shellSetup, log.Log()));
    EXPECT_EQ(ReadFile(tools.Path() / "pkzip25.args"),
              "-extract\n-nofix\n-direct\n-over=all\ntfc/mapzips/" + hostile +
                  ".zip\ntfc/mapzips/" + hostile + "/\n");
    for (const char* name : {"PWNED", "PWNED2", "PWNED3"}) {
        EXPECT_FALSE(fs::exists(paths.workDir + name)) << name;
    }
    EXPECT_TRUE(fs::is_directory(paths.modWorkDir + "mapzips/" + hostile));
}

class DeletingTrees : public Extracting {
protected:
    std::string tree = paths.modWorkDir + "mapzips/2fort";
};

TEST_F(DeletingTrees, EverythingGoesAndEveryStepIsLoggedButAReadOnlyFileAndItsFolders) {
    DeleteTree(tree, log.Log()); // a missing folder writes nothing
    WriteFile(tree + "/a.bsp", "a");
    WriteFile(tree + "/sound/b.wav", "b");
    DeleteTree(tree, log.Log());
    EXPECT_FALSE(fs::exists(tree));

    WriteFile(tree + "/sound/locked.wav", "keep");
    WriteFile(tree + "/a.bsp", "a");
    fs::permissions(tree + "/sound/locked.wav", fs::perms::owner_read | fs::perms::group_read);
    DeleteTree(tree, log.Log());
    EXPECT_EQ(ReadFile(tree + "/sound/locked.wav"), "keep");
    EXPECT_FALSE(fs::exists(tree + "/a.bsp"));
    const std::string deleting = "    Deleting file " + tree;
    EXPECT_EQ(log.Text(), deleting + "/a.bsp\n" + deleting + "/sound/b.wav\n" +
                              "    Removing directory " + tree + "/sound\n" +
                              "    Removing directory " + tree + "\n" + deleting + "/a.bsp\n" +
                              deleting + "/sound/locked.wav\n");
}

TEST_F(DeletingTrees, LinksAreDeletedAsLinks) {
    TempDir outside;
    WriteFile(outside / "keep/file.txt", "keep");
    WriteFile(outside / "single.txt", "keep");
    WriteFile(tree + "/a.bsp", "a");
    fs::create_directory_symlink(outside / "keep", tree + "/linked");
    fs::create_symlink(outside / "single.txt", tree + "/single.txt");
    DeleteTree(tree, log.Log());
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_EQ(ReadFile(outside / "keep/file.txt"), "keep");
    EXPECT_EQ(ReadFile(outside / "single.txt"), "keep");

    const std::string linkedTree = paths.modWorkDir + "mapzips/well";
    fs::create_directory_symlink(outside / "keep", linkedTree);
    InstallLog closed;
    DeleteTree(linkedTree, closed);
    EXPECT_FALSE(fs::exists(fs::symlink_status(linkedTree)));
    EXPECT_EQ(ReadFile(outside / "keep/file.txt"), "keep") << "nothing behind the link goes";
    log.Text();
}

} // namespace
} // namespace ballotine

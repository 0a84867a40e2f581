#include "cli/CliMain.h"
#include "cli/Commands.h"
#include "support/DemoFixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

class MapCommandsTest : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", demo.Layout().registryFile.string()});
        out.str("");
        err.str("");
        std::istringstream in;
        return RunCli(args, out, err, in, false);
    }

    test::DemoFixture demo;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(MapCommandsTest, MapsListsTheAvailableMapsWithoutTheVoteMapsOnes) {
    ASSERT_EQ(Run({"maps"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "2fort\tInstalled\n"
                         "ballot_bay\tInstalled\n"
                         "canalworks\tInstalled\n"
                         "frostfall\tNotDownloaded\n"
                         "harbourside\tConfigurable\n"
                         "quarry\tNotDownloaded\n"
                         "rock2\tInstalled\n"
                         "skyline\tConfigurable\n");
}

TEST_F(MapCommandsTest, CurrentListsTheCompiledVoteMap) {
    ASSERT_EQ(Run({"current"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "lakeside\tInstalled\nwell\tInstalled\n");
}

TEST_F(MapCommandsTest, AModWithoutSpritesListsNothing) {
    ASSERT_EQ(Run({"--mod", "Half-Life Deathmatch", "maps"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(Run({"--mod", "Half-Life Deathmatch", "current"}), kExitOk);
    EXPECT_EQ(out.str(), "");
}

TEST_F(MapCommandsTest, DetailsPrintsThePane) {
    ASSERT_EQ(Run({"details", "2FORT"}), kExitOk) << err.str();
    EXPECT_EQ(out.str().rfind("Name\t2FORT\nSize\t2613248\nDownloaded\tBy Default\n"
                              "Caption\t2 Fortresses - Capture The Flag\n\nObjective: ",
                              0),
              0U)
        << out.str();

    ASSERT_EQ(Run({"details", "frostfall"}), kExitOk);
    EXPECT_EQ(out.str(), "Name\tfrostfall\nSize\tN/A\nDownloaded\tNo\nCaption\tfrostfall\n\n"
                         "Map description not available\n");

    ASSERT_EQ(Run({"details", "skyline"}), kExitOk);
    EXPECT_NE(out.str().find("\nDownloaded\tYes\nCaption\tSkyline - Capture The Flag\n\n"
                             "Rooftop bases joined by a single glass bridge. \n\n\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Size\t"), std::string::npos);
}

TEST_F(MapCommandsTest, DetailsRefusesWhatIsNoMapName) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"details"},
                                                 {"details", "a", "b"},
                                                 {"details", "../../etc/passwd"},
                                                 {"details", "maps\\x"},
                                                 {"details", ""}}) {
        EXPECT_EQ(Run(args), kExitUsage) << args.size();
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(Run({"maps", "extra"}), kExitUsage);
    EXPECT_EQ(Run({"current", "extra"}), kExitUsage);
}

TEST(MapCommandsHelp, EveryNewCommandIsListedWithItsHelp) {
    for (const char* name : {"maps", "current", "details"}) {
        const CommandInfo* command = FindCommand(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_TRUE(command->needsSession);
        EXPECT_NE(UsageText().find(std::string("  ") + name), std::string::npos) << name;
    }
}

} // namespace
} // namespace ballotine

#include "CliTestSupport.h"
#include "cli/Commands.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;

// The entity text a BSP version 30 map holds (lump 0), without its final zero byte.
std::string EntityLump(const std::string& bsp) {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::memcpy(&offset, bsp.data() + 4, 4);
    std::memcpy(&length, bsp.data() + 8, 4);
    return bsp.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length) - 1);
}

class MapSettingsCommandsTest : public test::CliOnDemo {
protected:
    std::string Entities(const std::string& file) const { return WorkFile("Entities/" + file); }
};

TEST_F(MapSettingsCommandsTest, SizesListsTheMapsSizesInRankOrderWithTheFilesKeys) {
    const test::CliRun run = Run({"sizes", "HarbourSide"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Medium server (12 to 20 players)\t16\n"
                       "Full server (28 to 32 players)\t32\n"
                       "LAN party (no respawn delay)\tLAN\n"
                       "Clan match (8 against 8)\tClanMatch\n");
    EXPECT_EQ(Run({"sizes", "skyline"}).out,
              "Small server (up to 12 players)\t12\nLarge server (20 to 28 players)\t24\n");
    const test::CliRun none = Run({"sizes", "lakeside"});
    EXPECT_EQ(none.status, kExitOk) << "a map of the vote map's list, without settings";
    EXPECT_EQ(none.out, "");
}

TEST_F(MapSettingsCommandsTest, DescribeShowsTheTitleThenTheDescription) {
    const test::CliRun run = Run({"describe", "harbourside", "lan"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "LAN party\nNo respawn delay and short rounds for players in one room.\n");

    test::WriteFile(Entities("skyline.12.ref"), "skyline.tpt\n#TEXT#\nonly map text\n");
    const test::CliRun missing = Run({"describe", "skyline", "12"});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "No map description text found for this setting...\n");

    test::WriteFile(Entities("skyline.12.ref"), "skyline.tpt\n#INFO#");
    EXPECT_EQ(Run({"describe", "skyline", "12"}).status, kExitFailed) << "nothing to show";
}

TEST_F(MapSettingsCommandsTest, ApplyRewritesTheMapsEntitiesWithTheRealEntityToolForEverySize) {
    for (const auto& [map, key] :
         std::vector<std::pair<std::string, std::string>>{{"harbourside", "16"},
                                                          {"harbourside", "32"},
                                                          {"harbourside", "LAN"},
                                                          {"skyline", "12"},
                                                          {"skyline", "24"}}) {
        const test::CliRun run = Run({"--yes", "apply", map, key});
        EXPECT_EQ(run.status, kExitOk) << map << "." << key << ": " << run.err;
    }
    EXPECT_EQ(test::ReadFile(Maps("skyline.txt")),
              "Skyline - Capture The Flag\n\n"
              "Rooftop bases joined by a single glass bridge. Set up for large servers.\n")
        << "only the lines between #TEXT# and #INFO#";

    const std::string before = test::ReadFile(Maps("harbourside.bsp"));
    const test::CliRun run = Run({"--yes", "apply", "harbourside", "CLANMATCH"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "Are you sure you wish to update this map with the selected entities? "
                       "[y/n] yes\n"
                       "New Entities have been successfully compiled into this map\n");
    const std::string entities = EntityLump(test::ReadFile(Maps("harbourside.bsp")));
    EXPECT_NE(entities.find("\"message\" \"Round one: blue attacks for 20 minutes\""),
              std::string::npos)
        << entities;
    EXPECT_NE(entities.find("\"health\" \"1200\""), std::string::npos);
    EXPECT_EQ(entities.find('%'), std::string::npos) << "every key was substituted";
    EXPECT_NE(EntityLump(before), entities);
    EXPECT_EQ(test::ReadFile(Maps("harbourside.txt")),
              "Harbourside - Attack / Defend (clan match)\n\n"
              "Two rounds of 20 minutes, the teams swap sides.\n\n");
    EXPECT_FALSE(fs::exists(Maps("harbourside.ent")));
}

TEST_F(MapSettingsCommandsTest, RefusalsAndANoChangeNothing) {
    const std::string bsp = test::ReadFile(Maps("harbourside.bsp"));
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"sizes"}, kExitUsage},
        {{"sizes", "a", "b"}, kExitUsage},
        {{"describe", "harbourside"}, kExitUsage},
        {{"apply", "harbourside", "16", "x"}, kExitUsage},
        {{"sizes", "nosuchmap"}, kExitFailed},
        {{"sizes", "../harbourside"}, kExitFailed},
        {{"describe", "harbourside", "24"}, kExitFailed},
        {{"--yes", "apply", "harbourside", "../../16"}, kExitFailed},
        {{"--yes", "apply", "harbourside", "h"}, kExitFailed},
        {{"--no", "apply", "harbourside", "16"}, kExitFailed},
    };
    for (const Case& c : cases) {
        const test::CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_EQ(run.out, "") << c.args.back();
        EXPECT_FALSE(run.err.empty()) << c.args.back();
    }
    EXPECT_EQ(test::ReadFile(Maps("harbourside.bsp")), bsp);
    EXPECT_FALSE(fs::exists(Maps("harbourside.ent")));
    EXPECT_EQ(Run({"describe", "harbourside", "24"}).err,
              "'harbourside' has no server size '24'. Sizes: 16 32 LAN ClanMatch\n");
}

} // namespace
} // namespace ballotine

#include "bsp/LumpTable.h"
#include "bsp/MapReader.h"
#include "kit/EntityList.h"
#include "publish/Publisher.h"
#include "ripent/EntityText.h"
#include "support/DemoFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace ballotine {
namespace {

// A real map: players of both teams, and of none, have spawn points where a standing
// player fits.
void ExpectFreeSpawnPointsOfBothTeams(const std::filesystem::path& path) {
    std::string error;
    const std::optional<bsp::BspMap> map = bsp::BspMap::Load(path, error);
    ASSERT_TRUE(map) << error;
    std::set<std::string> kinds;
    for (const kit::Entity& entity : kit::ParseEntities(map->EntityText())) {
        const std::string_view classname = entity.Get("classname");
        if (classname != "info_player_teamspawn" && classname != "info_player_deathmatch") {
            continue;
        }
        kinds.insert(std::string(classname) + std::string(entity.Get("team_no")));
        bsp::Vec3 at;
        std::istringstream(std::string(entity.Get("origin"))) >> at.x >> at.y >> at.z;
        EXPECT_EQ(map->PointContents({at.x, at.y, at.z + 1}, bsp::Hull::Standing),
                  bsp::kContentsEmpty)
            << entity.Get("origin");
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"info_player_deathmatch", "info_player_teamspawn1",
                                            "info_player_teamspawn2"}));
}

// Every map is a BSP 30 map whose lumps follow one another, aligned, inside the file, and
// whose entity lump holds text the game loads, ended by its only zero byte; the vote map's
// is the compiled text beside it.
TEST(Demo, EveryMapIsABsp30MapWithEntityTextTheGameLoads) {
    test::DemoFixture demo;
    std::set<std::string> maps;
    for (const auto& entry : std::filesystem::directory_iterator(demo.Game("tfc/maps"))) {
        if (entry.path().extension() != ".bsp") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        maps.insert(entry.path().filename().string());
        const std::string map = test::ReadFile(entry.path());
        ASSERT_GE(map.size(), static_cast<std::size_t>(bsp::kHeaderSize));
        const bsp::BspHeader header = bsp::DecodeHeader(map);
        EXPECT_EQ(header.version, 30);
        EXPECT_EQ(bsp::FindLumpTableError(header.lumps, static_cast<std::int64_t>(map.size())),
                  std::nullopt);
        std::int64_t end = bsp::kHeaderSize;
        for (const bsp::Lump& lump : header.lumps) {
            EXPECT_EQ(lump.offset % 4, 0);
            EXPECT_GE(lump.offset, end) << "lumps follow one another";
            end = lump.End();
        }
        const bsp::Lump entities = header.lumps[bsp::kEntityLump];
        const std::string text = map.substr(static_cast<std::size_t>(entities.offset),
                                            static_cast<std::size_t>(entities.length));
        EXPECT_EQ(text.rfind("{\n\"classname\" \"worldspawn\"", 0), 0U);
        EXPECT_EQ(text.find('\0'), text.size() - 1);
        EXPECT_EQ(ripent::FindEntityTextError(text.substr(0, text.size() - 1)), std::nullopt);
        if (entry.path().stem() == "vote") {
            EXPECT_EQ(text, test::ReadFile(demo.Game("tfc/maps/vote.ent")) + '\0');
        }
        ExpectFreeSpawnPointsOfBothTeams(entry.path());
    }
    EXPECT_TRUE(maps.contains("skyline.bsp") && maps.contains("vote.bsp"));
}

// The demo's update server is what its source folder publishes: publishing it again changes
// nothing.
TEST(Demo, TheUpdateServerIsPublishedFromItsSourceFolder) {
    test::DemoFixture demo;
    const demo::DemoLayout& layout = demo.Layout();
    const PublishReport report =
        Publish({layout.sourceDir, layout.serverDir, layout.ServerUrl(), {}});
    ASSERT_TRUE(report.Succeeded()) << report.error;
    EXPECT_EQ(report.packages.size(), 20u);
    for (const PackageOutcome& package : report.packages) {
        EXPECT_EQ(package.change, PackageChange::Unchanged) << package.path;
    }
    for (const ListOutcome& list : report.lists) {
        EXPECT_FALSE(list.changed) << list.path;
    }
    EXPECT_TRUE(report.warnings.empty()) << report.warnings.front();
}

} // namespace
} // namespace ballotine

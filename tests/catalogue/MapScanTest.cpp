#include "catalogue/MapScan.h"

#include "ModFolders.h"
#include "catalogue/MapList.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

using test::ModFolders;

// "name:I" (installed), ":C" (configurable) or ":N" (not downloaded), in list order.
std::string Contents(const MapList& list) {
    std::string text;
    for (const MapEntry& entry : list.Entries()) {
        text += (text.empty() ? "" : " ") + entry.name + ":" + "ICN"[static_cast<int>(entry.state)];
    }
    return text;
}

TEST(ScanVoteSprites, GivesEachSpriteItsState) {
    ModFolders mod;
    for (const char* sprite :
         {"2fort.spr", "vote.spr", "blank.spr", "mymap.spr", "present.SPR", "Well.spr",
          "settings.spr", "dead.spr", "notes.txt", "2fo.spr", "2fort_x.spr", "box.spr", "real.spr",
          "linked.spr", "folder.spr/inside.txt", "Orbit.spr", "orbit.spr"}) {
        mod.Sprite(sprite);
    }
    mod.MapFile("PRESENT.bsp");
    mod.MapFile("mymap.txt");          // a description is no map file
    mod.EntityFile("settings.16.ref"); // entity settings without a map file still count
    mod.EntityFile("Dead.ref");
    mod.EntityFile("2FORT.tfc.16.ref"); // 2fort only: not 2fo, not 2fort_x
    mod.EntityFile("box");              // a name without an extension matches too
    mod.MapFile("elsewhere/linked.bsp");
    std::filesystem::create_symlink("elsewhere/linked.bsp",
                                    mod.session.paths.mapsDir + "linked.bsp");
    mod.MapFile("real.bsp/inside.txt"); // a folder of that name is no map file
    MapList available;
    EXPECT_TRUE(ScanVoteSprites(mod.session.paths, available));
    EXPECT_EQ(Contents(available), "2fo:N 2fort:C 2fort_x:N box:C dead:C linked:I mymap:N "
                                   "Orbit:N present:I real:N settings:C Well:I");
}

TEST(ScanVoteSprites, NoSpritesOrNoModGivesAnEmptyListAndFalse) {
    ModFolders mod;
    MapList available;
    available.Insert("stale", MapState::Installed);
    EXPECT_FALSE(ScanVoteSprites(mod.session.paths, available)) << "missing folder";
    EXPECT_TRUE(available.Empty());

    mod.Sprite("readme.txt");
    EXPECT_FALSE(ScanVoteSprites(mod.session.paths, available)) << "no .spr file";

    // Only the vote map's own sprites: the folder has sprites, the list stays empty.
    mod.Sprite("vote.spr");
    EXPECT_TRUE(ScanVoteSprites(mod.session.paths, available));
    EXPECT_TRUE(available.Empty());

    ClearModPaths(mod.session.paths);
    EXPECT_FALSE(ScanVoteSprites(mod.session.paths, available));
}

class ReadVoteMapEntriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"2fort", "well", "rock2", "canyon"}) {
            available.Insert(name, MapState::Installed);
        }
        available.Insert("ruins", MapState::NotDownloaded);
    }
    std::string Read(std::string_view voteEnt) {
        mod.MapFile("vote.ent", voteEnt);
        MapList chosen;
        ReadVoteMapEntries(mod.session.paths, available, chosen);
        return Contents(chosen);
    }

    ModFolders mod;
    MapList available;
};

TEST_F(ReadVoteMapEntriesTest, TakesEachMapNamedBySpritePathOnceOnePerLine) {
    EXPECT_EQ(Read("{\n"
                   "\"model\" \"sprites/vote/well.spr\"\n"
                   "\"model\" \"sprites/vote/ruins.spr\"\n"
                   "\"model\" \"sprites/vote/well.spr\"\n"    // again: nothing
                   "\"model\" \"sprites/vote/Rock2.spr\"\n"   // case counts
                   "\"model\" \"sprites/vote/unknown.spr\"\n" // no sprite
                   "\"message\" \"2fort.spr sprites/other/canyon.spr\"\n"
                   "}\n"),
              "ruins:N well:I");
    // canyon comes before well in the list, whatever the line's order
    EXPECT_EQ(Read("\"sprites/vote/well.spr sprites/vote/canyon.spr\"\n"), "canyon:I");
    EXPECT_EQ(
        Read("\"sprites/vote/well.spr\"\n\"sprites/vote/canyon.spr sprites/vote/well.spr\"\n"),
        "well:I")
        << "a line that also names a map already taken adds nothing";
}

TEST_F(ReadVoteMapEntriesTest, NoEntityTextOrNoModGivesAnEmptyList) {
    MapList chosen;
    chosen.Insert("stale", MapState::Installed);
    ReadVoteMapEntries(mod.session.paths, available, chosen);
    EXPECT_TRUE(chosen.Empty());

    mod.MapFile("vote.ent", "sprites/vote/well.spr\n");
    ClearModPaths(mod.session.paths);
    ReadVoteMapEntries(mod.session.paths, available, chosen);
    EXPECT_TRUE(chosen.Empty());
}

} // namespace
} // namespace ballotine

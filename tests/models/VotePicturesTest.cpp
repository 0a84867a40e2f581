#include "models/VotePictures.h"

#include "catalogue/CatalogueTestSupport.h"
#include "models/MainWindowModel.h"
#include "models/VotePicturesMessage.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;

using VotePicturesTest = test::ModFolders;

// The mod's maps get pictures in its vote picture folder: a real map its plan, a file that is
// no map a title card and a note; the window's lists take them in.
TEST_F(VotePicturesTest, DrawsTheModsMissingPicturesAndTheListsTakeThemIn) {
    fs::create_directories(session.paths.mapsDir);
    fs::copy_file(test::TestDataPath("room.bsp"), session.paths.mapsDir + "room.bsp");
    MapFile("broken.bsp", "not a map");
    MapFile("vote.ent", "\"sprites/vote/room.spr\"\n");
    MainWindowModel model{session};
    model.RefreshMapLists();
    ASSERT_FALSE(model.WorkingControlsEnabled()) << "no pictures yet";

    const PictureReport report = MakeVotePictures(session.paths, {}, false);
    ASSERT_EQ(report.written.size(), 2u);
    EXPECT_TRUE(fs::exists(session.paths.voteSpriteDir + "room.spr"));
    EXPECT_TRUE(fs::exists(session.paths.voteSpriteDir + "broken.spr"));
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_EQ(report.notes[0].kind, PictureNote::Kind::TitleCardOnly);

    model.RefreshAfterNewPictures();
    EXPECT_TRUE(model.WorkingControlsEnabled());
    EXPECT_EQ(model.AvailableMaps().Names(), std::vector<std::string>{"broken"});
    EXPECT_EQ(model.ChosenMaps().Names(), std::vector<std::string>{"room"})
        << "the compiled vote list is read once its pictures exist";

    // With pictures the user's vote list stays as it is.
    model.ClearChosenMaps();
    Sprite("canyon.spr");
    model.RefreshAfterNewPictures();
    EXPECT_TRUE(model.ChosenMaps().Names().empty());
    EXPECT_EQ(model.AvailableMaps().Names(),
              (std::vector<std::string>{"broken", "canyon", "room"}));
}

PictureReport Report(int written, int titleCards, int notes) {
    PictureReport report;
    for (int i = 0; i < written; ++i) {
        report.written.push_back({"map" + std::to_string(i), {}, i >= titleCards, false});
    }
    for (int i = 0; i < notes; ++i) {
        report.notes.push_back({"", PictureNote::Kind::Skipped, "note " + std::to_string(i)});
    }
    return report;
}

TEST(VotePicturesMessage, CountsThePicturesAndListsTheNotes) {
    const struct {
        PictureReport report;
        const char* message;
    } cases[] = {
        {Report(0, 0, 0), "Every map of this mod has a vote picture already."},
        {Report(3, 0, 0), "Vote pictures drawn: 3."},
        {Report(3, 1, 1), "Vote pictures drawn: 3 (1 of them a title card only).\n\nnote 0"},
        {Report(0, 0, 2), "No vote picture was drawn.\n\nnote 0\nnote 1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VotePicturesMessage(c.report), c.message);
    }
    const std::string many = VotePicturesMessage(Report(1, 0, 20));
    EXPECT_NE(many.find("\nnote 11\n... and 8 more"), std::string::npos) << many;
    EXPECT_EQ(many.find("note 12"), std::string::npos);
}

} // namespace
} // namespace ballotine

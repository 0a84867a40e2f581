#include "sprites/MissingPictures.h"

#include "sprites/BspPlan.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ballotine {
namespace {

namespace fs = std::filesystem;
using Kind = PictureNote::Kind;

class MissingPictures : public ::testing::Test {
protected:
    void Map(std::string_view name) { test::WriteFile(maps / name, "map file"); }
    void Picture(std::string_view name, std::string_view content = "made by hand") {
        test::WriteFile(pictures / name, content);
    }
    PictureReport Run(std::vector<std::string> names = {}, bool force = false) {
        return WriteMissingPictures({maps, pictures, std::move(names), force}, plans);
    }
    std::vector<std::string> PictureFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(pictures)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> Written(const PictureReport& report) {
        std::vector<std::string> names;
        for (const PictureWritten& picture : report.written) {
            names.push_back(picture.file.filename().string());
        }
        return names;
    }
    static std::vector<std::pair<std::string, Kind>> Notes(const PictureReport& report) {
        std::vector<std::pair<std::string, Kind>> notes;
        for (const PictureNote& note : report.notes) {
            notes.emplace_back(note.map, note.kind);
        }
        return notes;
    }

    test::TempDir dir;
    fs::path maps = dir.Path() / "tfc/maps";
    fs::path pictures = dir.Path() / "tfc/sprites/vote";
    PlanSource plans = [](const fs::path&) {
        return PlanResult{MapPlan{{{{{0, 0}, {64, 0}, {64, 64}}, 0}}, {}}, ""};
    };
};

TEST_F(MissingPictures, EveryMapWithoutAPictureGetsOneSpeltAsItsMapFile) {
    EXPECT_EQ(Notes(Run()), (std::vector<std::pair<std::string, Kind>>{{"", Kind::Skipped}}))
        << "no maps folder";
    for (const char* name : {"2fort.bsp", "Well.BSP", "WELL.bsp", "vote.bsp", "blank.bsp",
                             "readme.txt", "a\"b.bsp", "tab\there.bsp", "back\\slash.bsp"}) {
        Map(name);
    }
    fs::create_directories(maps / "folder.bsp");
    const PictureReport report = Run();
    // Of spellings that differ only in case the first in listing order counts, as in the lists.
    EXPECT_EQ(Written(report), (std::vector<std::string>{"2fort.spr", "WELL.spr"}));
    EXPECT_TRUE(report.written[0].withPlan);
    EXPECT_FALSE(report.written[0].replaced);
    EXPECT_EQ(Notes(report),
              (std::vector<std::pair<std::string, Kind>>{{"a\"b", Kind::Skipped},
                                                         {"back\\slash", Kind::Skipped},
                                                         {"tab\there", Kind::Skipped}}));
    EXPECT_EQ(report.notes[2].text, "skipped tab\\x09here.bsp: not a name a picture can take")
        << "no control character reaches the terminal";
    EXPECT_EQ(PictureFiles(), (std::vector<std::string>{"2fort.spr", "WELL.spr"}))
        << "the picture folder is made; no temporary file is left";
    EXPECT_TRUE(Run().written.empty()) << "a second run finds nothing missing";
}

TEST_F(MissingPictures, APictureIsReplacedOnlyWithForceAndKeepsItsSpelling) {
    Map("2fort.bsp");
    Map("well.bsp");
    Picture("2FORT.spr");
    EXPECT_EQ(Written(Run()), std::vector<std::string>{"well.spr"});
    EXPECT_EQ(test::ReadFile(pictures / "2FORT.spr"), "made by hand");

    const PictureReport kept = Run({"2fort"});
    EXPECT_TRUE(kept.written.empty());
    EXPECT_EQ(Notes(kept), (std::vector<std::pair<std::string, Kind>>{{"2fort", Kind::Kept}}));
    EXPECT_EQ(test::ReadFile(pictures / "2FORT.spr"), "made by hand");

    const PictureReport forced = Run({"2fort"}, true);
    ASSERT_EQ(Written(forced), std::vector<std::string>{"2FORT.spr"});
    EXPECT_TRUE(forced.written[0].replaced);
    EXPECT_EQ(test::ReadFile(pictures / "2FORT.spr").substr(0, 4), "IDSP");
    EXPECT_EQ(PictureFiles(), (std::vector<std::string>{"2FORT.spr", "well.spr"}))
        << "no second spelling";
}

TEST_F(MissingPictures, NamedMapsAreFoundWithoutRegardToCaseAndOthersSkippedWithANote) {
    Map("2Fort.bsp");
    Map("well.bsp");
    const PictureReport report =
        Run({"2fort", "2FORT.BSP", "missing", "../well", "", "vote", "Well.bsp"});
    EXPECT_EQ(Written(report), (std::vector<std::string>{"2Fort.spr", "well.spr"}));
    EXPECT_EQ(report.written[0].map, "2Fort");
    EXPECT_EQ(Notes(report), (std::vector<std::pair<std::string, Kind>>{{"missing", Kind::Skipped},
                                                                        {"../well", Kind::Skipped},
                                                                        {"", Kind::Skipped},
                                                                        {"vote", Kind::Skipped}}));
    EXPECT_FALSE(fs::exists(dir.Path() / "tfc/sprites/well.spr")) << "nothing outside the folder";
}

TEST_F(MissingPictures, AMapWithoutAReadablePlanGetsItsTitleCardAndANote) {
    Map("broken.bsp");
    Map("throws.bsp");
    Map("empty.bsp");
    Map("fine.bsp");
    const PlanSource fine = plans;
    plans = [&fine](const fs::path& map) -> PlanResult {
        const std::string name = map.stem().string();
        if (name == "broken") {
            return {std::nullopt, "the face lump ends early"};
        }
        if (name == "throws") {
            throw std::length_error("too many faces");
        }
        if (name == "empty") {
            return {MapPlan{}, ""};
        }
        return fine(map);
    };
    const PictureReport report = Run();
    ASSERT_EQ(report.written.size(), 4u);
    for (const PictureWritten& picture : report.written) {
        EXPECT_EQ(picture.withPlan, picture.map == "fine") << picture.map;
        EXPECT_EQ(test::ReadFile(picture.file).size(), 830u + 128 * 64) << picture.map;
    }
    ASSERT_EQ(report.notes.size(), 3u);
    for (const PictureNote& note : report.notes) {
        EXPECT_EQ(note.kind, Kind::TitleCardOnly) << note.text;
    }
    EXPECT_EQ(report.notes[0].text, "broken: title card only: the face lump ends early");
    EXPECT_NE(report.notes[2].text.find("too many faces"), std::string::npos);

    plans = nullptr; // no map reader: title cards without a word
    const PictureReport plain = Run({"fine"}, true);
    EXPECT_EQ(plain.written.size(), 1u);
    EXPECT_TRUE(plain.notes.empty());
}

TEST_F(MissingPictures, AFailedWriteNamesThePictureAndLeavesEveryOtherFileWhole) {
    Map("2fort.bsp");
    Map("well.bsp");
    Map("rock2.bsp");
    Picture("2fort.spr");
    fs::create_directories(pictures / "rock2.spr"); // in the way of the rename
    {
        const test::FileSizeLimit limit(1000); // as on a full disk: no picture fits
        const PictureReport report = Run({}, true);
        EXPECT_TRUE(report.written.empty());
        ASSERT_EQ(report.notes.size(), 3u);
        for (const PictureNote& note : report.notes) {
            EXPECT_EQ(note.kind, Kind::NotWritten);
            EXPECT_NE(note.text.find((pictures / note.map).string() + ".spr"), std::string::npos)
                << note.text;
        }
    }
    EXPECT_EQ(test::ReadFile(pictures / "2fort.spr"), "made by hand");
    EXPECT_EQ(PictureFiles(), (std::vector<std::string>{"2fort.spr", "rock2.spr"}));

    const PictureReport report = Run({}, true);
    EXPECT_EQ(Written(report), (std::vector<std::string>{"2fort.spr", "well.spr"}));
    EXPECT_EQ(Notes(report),
              (std::vector<std::pair<std::string, Kind>>{{"rock2", Kind::NotWritten}}));
}

// The map reader as the plan source: a real compiled map gives its plan, anything else its
// title card with the reader's reason.
TEST_F(MissingPictures, ARealMapIsDrawnFromItsOwnFaces) {
    const PlanResult room = ReadBspPlan(test::TestDataPath("room.bsp"));
    ASSERT_TRUE(room.plan) << room.note;
    EXPECT_FALSE(room.plan->floors.empty());
    EXPECT_FALSE(room.plan->walls.empty());

    fs::create_directories(maps);
    fs::copy_file(test::TestDataPath("room.bsp"), maps / "room.bsp");
    test::WriteFile(maps / "broken.bsp", std::string("VBSP") + std::string(200, '\xff'));
    plans = ReadBspPlan;
    const PictureReport report = Run();
    ASSERT_EQ(report.written.size(), 2u);
    for (const PictureWritten& picture : report.written) {
        EXPECT_EQ(picture.withPlan, picture.map == "room") << picture.map;
    }
    ASSERT_EQ(Notes(report),
              (std::vector<std::pair<std::string, Kind>>{{"broken", Kind::TitleCardOnly}}));
    EXPECT_NE(report.notes.front().text.find("version"), std::string::npos)
        << report.notes.front().text;
}

} // namespace
} // namespace ballotine

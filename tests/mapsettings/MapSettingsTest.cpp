#include "demo/DemoSprite.h"
#include "mapsettings/EntityUpdate.h"
#include "mapsettings/MapSettingsTestSupport.h"
#include "mapsettings/PreviewSet.h"
#include "mapsettings/ServerTypeTable.h"
#include "mapsettings/SettingDescription.h"
#include "platform/Services.h"
#include "support/FakeToolRunner.h"
#include "support/FileSizeLimit.h"
#include "support/ManualClock.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;

using test::kTypesHeader;
// The folders, with the last update's substitutions.
class MapSettingsTest : public test::MapSettingsFolders {
protected:
    std::string Ent() const { return paths.mapsDir + "2fort.ent"; }
    std::string Txt() const { return paths.mapsDir + "2fort.txt"; }

    ReferenceData data;
};

class EntityUpdateTest : public MapSettingsTest {
protected:
    bool Update(const char* key = "16") {
        return UpdateMapEntities(paths, "2fort", key, services, data);
    }
    // Answers Yes to an update that must fail; what it said, a line each.
    std::string FailedUpdate() {
        prompter.Forget();
        prompter.AnswerYes();
        EXPECT_FALSE(Update());
        std::string said;
        for (const std::string& message : prompter.Messages()) {
            said += message + "\n";
        }
        return said;
    }
    bool Extract() {
        return ExtractReferenceData(paths.modWorkDir + "Entities/2fort.16.ref", paths.modWorkDir,
                                    data, prompter);
    }
};

TEST_F(EntityUpdateTest, ReferenceLinesBecomePairs) {
    std::string reference =
        "2fort.TPT\nWALLS = \"strong walls\" trailing ignored\nNOQUOTE = plain\n"
        "OPEN = \"never closed\nODD := \"ignored silently\"\n\n"
        "#INFO#x = \"not a marker\"\n";
    for (int i = 0; i < 300; ++i) {
        reference += "K" + std::to_string(i) + " = \"v\"\n";
    }
    Entities("2fort.16.ref", reference);
    ASSERT_TRUE(Extract());
    EXPECT_EQ(data.templatePath, paths.modWorkDir + "Entities/2fort.TPT");
    ASSERT_EQ(data.substitutions.size(), 256u);
    EXPECT_EQ(data.substitutions[0].key + "=" + data.substitutions[0].value, "WALLS=strong walls");
    EXPECT_EQ(data.substitutions[1].key, "#INFO#x") << "a marker counts only as a whole word";
    EXPECT_EQ(data.substitutions[255].key, "K253");
    EXPECT_EQ(prompter.Messages(),
              (Strings{"Warning. The following line is invalid (No Initial Quote), skipping:\n"
                       "NOQUOTE = plain",
                       "Warning. The following line is invalid (No Terminating Quote), "
                       "skipping:\nOPEN = \"never closed"}));

    Entities("2fort.16.ref", "2fort.tpt\nA = \"1\"\n#TEXT# tail\nB = \"2\"\n");
    ASSERT_TRUE(Extract());
    EXPECT_EQ(data.substitutions.size(), 1u) << "the substitutions end at a marker word";
}

TEST_F(EntityUpdateTest, SuccessImportsWritesTheTextAndRemovesTheEntityText) {
    Entities("2fort.16.ref", "2fort.tpt\nHEALTH = \"900\"\nCLASS = \"func_door\"\n#TEXT#\n2 "
                             "Fortresses\n\nBig map\n#INFO#\nTitle\n");
    Entities("2fort.tpt", "{\n\"classname\" \"CLASS\"\n\"health\" \"HEALTH\" HEALTH\n}\n");
    WriteFile(Txt(), "old description");
    std::string seenByTool;
    runner.SetAction([&](const test::FakeToolRunner::Call&) {
        seenByTool = ReadFile(Ent());
        return 0;
    });
    prompter.AnswerYes();
    ASSERT_TRUE(Update());
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].Line(),
              paths.workDir + "ripent -import " + paths.mapsDir + "2fort");
    EXPECT_EQ(seenByTool, "{\n\"classname\" \"func_door\"\n\"health\" \"900\" 900\n}\n\n");
    EXPECT_FALSE(fs::exists(Ent()));
    EXPECT_EQ(ReadFile(Txt()), "2 Fortresses\n\nBig map\n") << "only the lines up to #INFO#";
    EXPECT_EQ(prompter.BusyDepth(), 0);

    Entities("2fort.16.ref", "2fort.tpt\n#INFO#\nTitle\n");
    Entities("2fort.tpt", "");
    prompter.AnswerYes();
    ASSERT_TRUE(Update());
    EXPECT_EQ(ReadFile(Txt()), "") << "no text section empties the description";
    EXPECT_EQ(seenByTool, "\n") << "an empty template gives one empty line";
}

const std::string kEntityFileFailed =
    "An error has occurred creating the entity file for this map. Aborting...\n";

TEST_F(EntityUpdateTest, NothingHappensWithoutAKeyOrYesAndEachFailedStepSaysSoAndStops) {
    EXPECT_FALSE(Update(""));
    EXPECT_TRUE(prompter.Transcript().empty());
    prompter.AnswerNo();
    EXPECT_FALSE(Update());
    EXPECT_EQ(FailedUpdate(), "Failed to extract Reference Data. Aborting...\n") << "no file";
    Entities("2fort.16.ref", "2fort.map\n");
    EXPECT_EQ(FailedUpdate(), "Template File Reference is invalid. Aborting...\n"
                              "Failed to extract Reference Data. Aborting...\n");
    Entities("2fort.16.ref", "missing.tpt\n");
    EXPECT_EQ(FailedUpdate(), kEntityFileFailed);
    EXPECT_TRUE(runner.Calls().empty());

    Entities("2fort.16.ref", "2fort.tpt\n#TEXT#\nnew\n");
    Entities("2fort.tpt", "{\n}\n");
    WriteFile(Txt(), "old");
    runner.SetExitStatus(1, "ripent: 2fort.bsp: cannot read the lump table\n");
    EXPECT_EQ(FailedUpdate(),
              "An error has occurred compiling the new entities into the map. Aborting...\n\n"
              "ripent: 2fort.bsp: cannot read the lump table\n");
    EXPECT_TRUE(fs::exists(Ent())) << "a failed import leaves the entity text";
    EXPECT_EQ(ReadFile(Txt()), "old");
}

// Found by fuzzing: each value holds the next key four times, so forty lines would ask for
// 4^40 bytes.
TEST_F(EntityUpdateTest, ValuesThatMultiplyALineAreRefusedBeforeMemoryRunsOut) {
    std::string reference = "2fort.tpt\n";
    for (int i = 0; i < 40; ++i) {
        const std::string next = "K" + std::to_string(i + 1) + " ";
        reference += "K" + std::to_string(i) + " = \"" + next + next + next + next + "\"\n";
    }
    Entities("2fort.16.ref", reference);
    Entities("2fort.tpt", "\"team_no\" \"K0\"\n");
    WriteFile(Ent(), "earlier");
    EXPECT_EQ(FailedUpdate(), kEntityFileFailed);
    EXPECT_EQ(ReadFile(Ent()), "earlier");
    EXPECT_TRUE(runner.Calls().empty());

    Entities("2fort.16.ref", "2fort.tpt\nK0 = \"" + std::string(4000, 'v') + "\"\n");
    Entities("2fort.tpt", std::string(200, 'K') + "K0\n"); // long lines that stay sane still fill
    prompter.AnswerYes();
    EXPECT_TRUE(Update());
}

TEST_F(EntityUpdateTest, AMapTextThatCannotBeWrittenKeepsTheOldOneWhole) {
    Entities("2fort.16.ref", "2fort.tpt\n#TEXT#\n" + std::string(20000, 't') + "\n");
    Entities("2fort.tpt", "{\n\"classname\" \"worldspawn\"\n}\n");
    WriteFile(Txt(), "the old description");
    std::optional<test::FileSizeLimit> diskFull; // fills up after the import
    runner.SetAction([&](const test::FakeToolRunner::Call&) {
        diskFull.emplace(4096);
        return 0;
    });
    const std::string said = FailedUpdate();
    diskFull.reset();
    EXPECT_EQ(said, "An error has occurred creating the map textfile'.\n");
    EXPECT_EQ(ReadFile(Txt()), "the old description");
    EXPECT_TRUE(fs::exists(Ent())) << "the entity text stays for another try";
    EXPECT_EQ(std::distance(fs::directory_iterator(paths.mapsDir), {}), 2) << "no temporary file";
}

using test::IsBlack;

// Where a 128x64 sprite keeps its fields: width and height, palette size, palette, pixels.
constexpr std::size_t kWidthAt = 20, kPaletteSizeAt = 40, kPaletteAt = 42, kPixelsAt = 830;

// A sprite whose pixels all use palette entry `index`, which holds red, green and blue.
std::string Sprite(std::uint8_t index, const std::string& rgb) {
    std::string bytes = demo::MakeMapSprite("any");
    bytes.replace(kPaletteAt + index * 3U, 3, rgb);
    std::fill(bytes.begin() + kPixelsAt, bytes.end(), static_cast<char>(index));
    return bytes;
}

TEST_F(MapSettingsTest, PreviewConvertsPaletteColoursAndUnsuitableFilesGiveBlack) {
    PreviewSet preview;
    const auto load = [&](const std::string& bytes) {
        WriteFile(dir / "map.spr", bytes);
        return LoadPreview(preview, dir / "map.spr");
    };
    ASSERT_TRUE(load(Sprite(0, "\xFF\x00\x00"s)));
    EXPECT_EQ(preview.pixels16.front(), 0xF800);
    EXPECT_EQ(preview.pixels32.back(), 0x00FF0000U);
    ASSERT_TRUE(load(Sprite(255, "\xFF\xFF\xFF"))); // index 255 is drawn like any other
    EXPECT_EQ(preview.pixels16[1000], 0xFFDF) << "bit 5 stays 0";
    EXPECT_EQ(preview.pixels32[1000], 0x00FFFFFFU);
    // Truncated pixels keep what was read and black the rest.
    EXPECT_FALSE(load(Sprite(0, "\x00\x00\xFF"s).substr(0, kPixelsAt + 300)));
    EXPECT_EQ(preview.pixels32[299], 0x000000FFU);
    EXPECT_EQ(preview.pixels16[299], 0x001F);
    EXPECT_EQ(preview.pixels32[300], 0U);
    EXPECT_EQ(preview.pixels16[kPreviewPixels - 1], 0);

    const std::string good = Sprite(0, "\x0A\xC8\x1E");
    std::string swapped = good; // 64 wide, 128 high
    std::swap_ranges(swapped.begin() + kWidthAt, swapped.begin() + kWidthAt + 4,
                     swapped.begin() + kWidthAt + 4);
    std::string narrow = good; // 127 wide, 64 high: each size is checked on its own
    narrow[kWidthAt] = 127;
    std::string shortPalette = good;
    shortPalette[kPaletteSizeAt] = static_cast<char>(255);
    for (const std::string& bytes : {swapped, narrow, shortPalette, ""s, good.substr(0, 30),
                                     good.substr(0, 500), good.substr(0, 820)}) {
        ASSERT_TRUE(load(good));
        EXPECT_FALSE(load(bytes)) << bytes.size();
        EXPECT_TRUE(IsBlack(preview)) << bytes.size();
    }
    ASSERT_TRUE(load(good));
    EXPECT_FALSE(LoadPreview(preview, ""));
    EXPECT_TRUE(IsBlack(preview)) << "an unreadable file";
}

class ServerTypesTest : public MapSettingsTest {
protected:
    void Conf(const std::string& content) {
        WriteFile(paths.modWorkDir + "servertypes.conf", content);
    }
    Strings Keys() {
        table.LoadServerTypes(paths.modWorkDir);
        Strings keys;
        for (const ServerType& type : table.Types()) {
            keys.push_back(type.key);
        }
        return keys;
    }
    Strings Listed(const std::string& map) {
        table.LoadServerTypes(paths.modWorkDir);
        Strings rows;
        for (const ServerSizeRow& row : ListServerSizes(table, paths.modWorkDir, map)) {
            rows.push_back(row.displayName + "=" + row.key);
        }
        return rows;
    }
    ServerTypeTable table;
};

TEST_F(ServerTypesTest, EndLinesSkipThemselvesAndTheLineAfterAndTheHeaderMustBeExact) {
    Conf(kTypesHeader + "16\nSixteen\n#END old\nforgotten\n32\nThirty-two\n#END");
    EXPECT_EQ(Keys(), (Strings{"16", "32"}));
    EXPECT_EQ(table.FindServerType("32"), 1);
    EXPECT_EQ(table.FindServerType("64"), -1);
    Conf("//Supported Server Types - *** DO NOT MODIFY ***// \n16\nSixteen\n");
    EXPECT_TRUE(Keys().empty());

    std::string content = kTypesHeader + "abcdefghijkl\n" + std::string(300, 'n') + "\n";
    for (int i = 0; i < 150; ++i) {
        content += "k" + std::to_string(i) + "\nName\n";
    }
    Conf(content);
    ASSERT_EQ(Keys().size(), 151u + 1u) << "every entry, plus the final empty line's entry";
    EXPECT_EQ(table.Types()[0].key, "abcdefghi");
    EXPECT_EQ(table.Types()[0].displayName.size(), 127u);
    EXPECT_EQ(table.FindServerType("K149"), 150);
}

TEST_F(ServerTypesTest, SizesAreListedInRankOrderAndByTheKeyAfterTheMapsName) {
    Conf(kTypesHeader + "32\nThirty-two players\n16\nSixteen players\n8\nEight\nhuge\nHuge\n");
    for (const char* file : {"2fort.16.ref", "2fort.32.REF", "2fort.8.ref", "2fort.HUGE.ref",
                             "2fort.64.ref", "2fort.16.txt", "2fortx.16.ref", "2fort.ref"}) {
        Entities(file, "x.tpt\n");
    }
    EXPECT_EQ(Listed("2fort"),
              (Strings{"Thirty-two players=32", "Sixteen players=16", "Huge=HUGE"}))
        << "one-character keys, unknown keys, other extensions and other maps are left out";
    Strings names = {"2fort.16.ref", "2fort.32.REF", "2fort.HUGE.ref"};
    do {
        Strings keys;
        for (const ServerSizeRow& row : RankServerSizes(table, "2fort", names)) {
            keys.push_back(row.key);
        }
        EXPECT_EQ(keys, (Strings{"32", "16", "HUGE"})) << names[0] << names[1];
    } while (std::next_permutation(names.begin(), names.end()));

    // A map name with a dot takes the key after the last dot.
    Entities("my.map.16.ref", "x.tpt\n");
    EXPECT_EQ(Listed("my.map"), Strings{"Sixteen players=16"});
    EXPECT_TRUE(Listed("my").empty()) << "my.map's sizes are not those of the map my";
    Entities("my.16.ref", "x.tpt\n");
    EXPECT_EQ(Listed("MY"), Strings{"Sixteen players=16"});
    EXPECT_TRUE(Listed("my*").empty()) << "a wildcard in a map name matches no other map";
    EXPECT_TRUE(ListServerSizes(table, "", "my.map").empty()) << "no mod selected";
}

TEST_F(MapSettingsTest, DescriptionSectionRules) {
    using Result = SettingDescription::Result;
    const auto read = [&](const std::string& reference) {
        Entities("2fort.16.ref", reference);
        return ReadSettingDescription(paths.modWorkDir, "2fort", "16");
    };
    const auto found = read("x.tpt\nK = \"v\"\n#INFO# extra\nThe Title\n\nA\n\nB\n#TEXT#\nx\n");
    ASSERT_EQ(found.result, Result::Found);
    EXPECT_EQ(found.title, "The Title");
    EXPECT_EQ(found.description, "A\n\nB\n") << "the first empty line is dropped";
    const auto last = read("x.tpt\n#INFO#\n");
    EXPECT_EQ(last.result, Result::Found) << "#INFO# as the last line";
    EXPECT_EQ(last.title + last.description, "");
    EXPECT_EQ(read("x.tpt\n#INFO#").result, Result::NothingToShow);
    EXPECT_EQ(read("x.tpt\n#TEXT#\nonly map text\n").result, Result::NoDescription);
    EXPECT_EQ(ReadSettingDescription(paths.modWorkDir, "2fort", "32").result,
              Result::NoDescription);
    EXPECT_EQ(read("x.tpt\n#TEXT#\nmap text\n#INFO#\nTitle\nabout").description, "about\n");

    std::string reference = "x.tpt\n#INFO#\nT\n";
    for (int i = 0; i < 7; ++i) {
        reference += std::string(99, 'a') + "\n"; // 700 characters with line feeds
    }
    const auto cut = read(reference + std::string(500, 'c') + "\nnever\n");
    EXPECT_EQ(cut.description.size(), 1023u) << "the line crossing 768 is cut at 1023";
    EXPECT_EQ(cut.description.find("never"), std::string::npos);
    EXPECT_EQ(read("x.tpt\n#INFO#\nT\n" + std::string(767, 'a') + "\nkept\n").description,
              std::string(767, 'a') + "\n")
        << "768 reached: stop";
}

} // namespace
} // namespace ballotine

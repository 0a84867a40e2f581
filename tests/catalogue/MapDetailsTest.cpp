#include "catalogue/MapDetails.h"

#include "ModFolders.h"
#include "catalogue/BuiltInMaps.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

using test::ModFolders;

// "caption|text"
std::string Describe(const std::string& fileContent) {
    std::istringstream in(fileContent);
    const MapDescription description = ReadMapDescription(in);
    return description.caption + "|" + description.text;
}

TEST(ReadMapDescription, JoinsLinesAndTurnsLaterEmptyLinesIntoBreaks) {
    const std::pair<const char*, const char*> cases[] = {
        {"Title", "Title|"},
        {"Title\n", "Title|"}, // the reader's last empty line is skipped as the first one
        {"Title\n\nLine one\nLine two\n", "Title|Line one Line two \n\n"},
        {"Title\n\nLine one\nLine two", "Title|Line one Line two "},
        {"Title\n\n\nText", "Title|\n\nText "},
        {"Title\r\nFirst\r\n\r\nSecond", "Title|First \n\nSecond "},
        {"", "|"},
    };
    for (const auto& [file, shown] : cases) {
        EXPECT_EQ(Describe(file), shown) << file;
    }
}

TEST(ReadMapDescription, StopsAddingLinesOnceTheTextReaches512AndCutsLongLines) {
    std::string file = "Title\n";
    for (int i = 0; i < 10; ++i) {
        file += std::string(100, 'x') + "\n";
    }
    // Five lines of 101 make 505 (< 512), so a sixth is added; then the text is 606.
    EXPECT_EQ(Describe(file).size(), 6U + 606U);
    EXPECT_EQ(Describe("Title\n" + std::string(10000, 'y')).size(), 6U + 4095U);
    EXPECT_EQ(Describe(std::string(10000, 'c')).size(), 4095U + 1U);
}

// Present and missing maps are shown by the window and the command line tests.
TEST(ReadMapDetails, BuiltInMapsIgnoreTheirFilesAndNoModLooksNothingUp) {
    ModFolders mod;
    mod.MapFile("WELL.txt", "Other title\n\nOther text");
    mod.MapFile("well.bsp", "tiny");
    const MapDetails well = ReadMapDetails(mod.session.paths, "WeLL");
    EXPECT_EQ(well.name + "|" + well.sizeText + "|" + well.downloadedText + "|" + well.caption,
              "WeLL|2252800|By Default|The Well - Capture The Flag");
    EXPECT_EQ(well.description, FindBuiltInMap("well")->description);

    ClearModPaths(mod.session.paths);
    const MapDetails noMod = ReadMapDetails(mod.session.paths, "CMakeCache");
    EXPECT_EQ(noMod.downloadedText, "No") << "nothing is looked up in the current folder";
    EXPECT_EQ(noMod.description, "Map description not available");
    EXPECT_EQ(ReadMapDetails(mod.session.paths, "2fort").downloadedText, "By Default");
}

} // namespace
} // namespace ballotine

#include "catalogue/MapDetails.h"

#include "ModFolders.h"
#include "catalogue/BuiltInMaps.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

using test::ModFolders;

MapDescription Describe(const std::string& fileContent) {
    std::istringstream in(fileContent);
    return ReadMapDescription(in);
}

TEST(ReadMapDescription, JoinsLinesAndTurnsLaterEmptyLinesIntoBreaks) {
    struct Case {
        const char* file;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"Title", "Title", ""},
        {"Title\n", "Title", ""}, // the reader's last empty line is skipped as the first one
        {"Title\n\nLine one\nLine two\n", "Title", "Line one Line two \n\n"},
        {"Title\n\nLine one\nLine two", "Title", "Line one Line two "},
        {"Title\n\n\nText", "Title", "\n\nText "},
        {"Title\r\nFirst\r\n\r\nSecond", "Title", "First \n\nSecond "},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const MapDescription description = Describe(c.file);
        EXPECT_EQ(description.caption, c.caption) << c.file;
        EXPECT_EQ(description.text, c.text) << c.file;
    }
}

TEST(ReadMapDescription, StopsAddingLinesOnceTheTextReaches512) {
    const std::string line(100, 'x');
    std::string file = "Title\n";
    for (int i = 0; i < 10; ++i) {
        file += line + "\n";
    }
    // Five lines of 101 make 505 (< 512), so a sixth is added; then the text is 606.
    EXPECT_EQ(Describe(file).text.size(), 606U);

    // One very long line is cut, not kept whole.
    EXPECT_EQ(Describe("Title\n" + std::string(10000, 'y')).text.size(), 4095U);
    EXPECT_EQ(Describe(std::string(10000, 'c')).caption.size(), 4095U);
}

// Present and missing maps are shown by the window and the command line tests.
TEST(ReadMapDetails, BuiltInMapsIgnoreTheirFilesAndNoModLooksNothingUp) {
    ModFolders mod;
    mod.MapFile("WELL.txt", "Other title\n\nOther text");
    mod.MapFile("well.bsp", "tiny");
    const MapDetails details = ReadMapDetails(mod.session.paths, "WeLL");
    EXPECT_EQ(details.name, "WeLL");
    EXPECT_EQ(details.sizeText, "2252800");
    EXPECT_EQ(details.downloadedText, "By Default");
    EXPECT_EQ(details.caption, "The Well - Capture The Flag");
    EXPECT_EQ(details.description, FindBuiltInMap("well")->description);

    ClearModPaths(mod.session.paths);
    const MapDetails noMod = ReadMapDetails(mod.session.paths, "CMakeCache");
    EXPECT_EQ(noMod.downloadedText, "No") << "nothing is looked up in the current folder";
    EXPECT_EQ(noMod.description, "Map description not available");
    EXPECT_EQ(ReadMapDetails(mod.session.paths, "2fort").downloadedText, "By Default");
}

} // namespace
} // namespace ballotine
